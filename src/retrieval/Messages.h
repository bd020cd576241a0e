#pragma once

namespace gw::retrieval {

// The sentences a failed page fetch is reported with, in the wizard and on the command line.
inline const char* const kFetchFailedMessage =
    "The webpage at the address you entered is could not be retrieved.  Check the address.  If "
    "the address is correct, the server may not be available at the current time.";
inline const char* const kEmptyPageMessage =
    "The webpage you entered is invalid or cannot be reached at this time. Check the address or "
    "try again later.";

}  // namespace gw::retrieval
