#include "cli/Locale.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>

namespace gw::cli {

void UseCharacterLocale() {
    if (std::setlocale(LC_CTYPE, "") != nullptr && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
        return;
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace gw::cli
