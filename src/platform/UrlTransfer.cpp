// Temporary stub, replaced by the libcurl implementation.
#include "platform/UrlTransfer.h"
namespace gw::platform {
struct UrlTransfer::Impl {};
UrlTransfer::UrlTransfer(TransferOptions) {}
UrlTransfer::~UrlTransfer() = default;
void UrlTransfer::setProgress(TransferProgress) {}
TransferResult UrlTransfer::OpenURL(const std::string&, std::string&) { return {}; }
TransferResult UrlTransfer::Fetch(const std::string&, const BodySink&) { return {}; }
void UrlTransfer::abort() {}
void InitTransfers() {}
}
