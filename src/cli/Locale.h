#pragma once

namespace gw::cli {

// Takes the character set alone from the environment, so that libcurl can turn host names in
// other scripts into their ASCII form; where that is not UTF-8, C.UTF-8. Numbers keep reading
// as in the C locale.
void UseCharacterLocale();

}  // namespace gw::cli
