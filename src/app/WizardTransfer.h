#pragma once

#include "platform/UrlTransfer.h"

namespace gw::app {

// The one transfer handle of the wizard, reused across its transfers (keep-alive).
platform::UrlTransfer& transfer();

// Replaces the handle with one made with these options (tests: short time-outs, their own
// certificate authority).
void setTransferOptions(const platform::TransferOptions& options);

}  // namespace gw::app
