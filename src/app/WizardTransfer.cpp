#include "app/WizardTransfer.h"

#include <memory>

namespace gw::app {
namespace {
std::unique_ptr<platform::UrlTransfer>& handle() {
    static std::unique_ptr<platform::UrlTransfer> instance;
    return instance;
}
}  // namespace

platform::UrlTransfer& transfer() {
    if (!handle())
        handle() = std::make_unique<platform::UrlTransfer>();
    return *handle();
}

void setTransferOptions(const platform::TransferOptions& options) {
    handle() = std::make_unique<platform::UrlTransfer>(options);
}

}  // namespace gw::app
