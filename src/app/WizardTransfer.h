#pragma once

#include "platform/TransferEngine.h"

namespace gw::app {

// The one transfer engine of the wizard: its connections and cookies last from the page
// fetch to the last download.
platform::TransferEngine& transfer();

// Replaces the engine with one made with these options (tests: short time-outs, their own
// certificate authority).
void setTransferOptions(const platform::TransferOptions& options);

}  // namespace gw::app
