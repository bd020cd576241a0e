#include "app/Module1.h"

#include <memory>

namespace gw::app {
namespace {
// Two lists of 32768 strings: on the heap, not in static storage that every process pays for.
std::unique_ptr<Module1>& instance() {
    static std::unique_ptr<Module1> state = std::make_unique<Module1>();
    return state;
}
}  // namespace

Module1& module1() { return *instance(); }

void resetModule1() { instance() = std::make_unique<Module1>(); }

}  // namespace gw::app
