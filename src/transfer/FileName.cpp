#include "transfer/FileName.h"

namespace gw::transfer {

std::string FileNameFromAddress(std::string_view address) {
    const auto slash = address.rfind('/');
    return std::string(slash == std::string_view::npos ? address : address.substr(slash + 1));
}

}  // namespace gw::transfer
