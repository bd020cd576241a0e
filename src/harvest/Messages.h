#pragma once

namespace gw::harvest {

// The sentence a search without result is reported with, in the wizard and on the command line.
inline const char* const kNothingFoundMessage =
    "The webpage was searched, but no files matching your criteria were found. It is possible "
    "that the webpage address you entered is invalid, or the filename criteria you entered was "
    "not correct. Check the webpage address and your file criteria and try again.";

inline const char* const kInvalidPatternMessage =
    "The file specification is not valid: a \"[\" has no closing \"]\". Correct it and press "
    "\"Next >>\" again.";

}  // namespace gw::harvest
