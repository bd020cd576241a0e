#include "app/WizardState.h"

#include <memory>

namespace gw::app {
namespace {
// Two lists of 32768 strings: on the heap, not in static storage that every process pays for.
std::unique_ptr<WizardState>& instance() {
    static std::unique_ptr<WizardState> state = std::make_unique<WizardState>();
    return state;
}
}  // namespace

WizardState& wizardState() {
    return *instance();
}

void resetWizardState() {
    instance() = std::make_unique<WizardState>();
}

}  // namespace gw::app
