#include "app/WizardTransfer.h"

#include <memory>

namespace gw::app {
namespace {
std::unique_ptr<platform::TransferEngine>& handle() {
    static std::unique_ptr<platform::TransferEngine> instance;
    return instance;
}
}  // namespace

platform::TransferEngine& transfer() {
    if (!handle())
        handle() = std::make_unique<platform::TransferEngine>();
    return *handle();
}

void setTransferOptions(const platform::TransferOptions& options) {
    handle() = std::make_unique<platform::TransferEngine>(options);
}

}  // namespace gw::app
