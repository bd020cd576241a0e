#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "harvest/FoundCapacity.h"

namespace gw::app {

// Entries 1 to 32767 of the two address lists; entry 0 is never used. The harvest fills the
// found list, so its bound is the one that sizes both.
inline constexpr int kListCapacity = static_cast<int>(harvest::kFoundCapacity);
using AddressList = std::array<std::string, kListCapacity + 1>;

// The wizard state: what one page hands on to the next. Counts and limits keep their 16-bit
// range; loops over them use int. Texts are bytes (addresses as found on the page, typed
// text as UTF-8).
struct WizardState {
    std::string PageAddress;
    std::string PageText;
    // The positions of PageText where the line rule removed a line end.
    std::vector<std::size_t> PageLineBreaks;
    std::optional<bool> HangUpOnQuit;  // not set before the first fetch: counts as false
    std::int16_t HistoryCount = 0;
    std::string LastFileSpec;
    AddressList FoundList;
    std::int16_t FoundCount = 0;
    // The page's checksum lists, found by the same search whatever its pattern.
    std::vector<std::string> ChecksumLists;
    AddressList SelectedFiles;
    std::int16_t SelectedCount = 0;
    std::string DestinationFolder;
    bool ShowWaitCancel = false;
    bool CancelRequested = false;
    bool DownloadsScheduled = false;
    bool DownloadIncomplete = false;
    // The address the page really came from (after redirects); relative links join to it.
    std::string FetchedAddress;
};

WizardState& wizardState();

// Back to the start-of-program state, as a fresh run (and every test) begins.
void resetWizardState();

}  // namespace gw::app
