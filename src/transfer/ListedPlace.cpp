#include "transfer/ListedPlace.h"

#include <algorithm>

#include "transfer/FileName.h"
#include "transfer/KnownCopy.h"

namespace gw::transfer {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low >= 0) {
            plain += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

// The address without its query and fragment.
std::string_view PathOf(std::string_view address) {
    return address.substr(0, std::min(address.find_first_of("?#"), address.size()));
}

}  // namespace

std::string ListedFolder(std::string_view address) {
    // A user name and password say nothing of where the file lies.
    const std::string plain = WithoutUserInfo(std::string(address));
    const std::string_view path = PathOf(plain);
    return PercentDecoded(path.substr(0, path.rfind('/') + 1));
}

std::string ListedPlace(std::string_view listAddress, std::string_view listedName) {
    return ListedFolder(listAddress) + std::string(listedName);
}

std::vector<std::string> PlacesOfFile(std::string_view fileAddress) {
    const std::string folder = ListedFolder(fileAddress);
    const std::string_view path = PathOf(fileAddress);
    const std::string_view segment = path.substr(path.rfind('/') + 1);
    std::vector<std::string> places;
    for (std::string name :
         {FileNameFromAddress(fileAddress), PercentDecoded(segment), std::string(segment)}) {
        std::string place = folder + name;
        if (!name.empty() && std::find(places.begin(), places.end(), place) == places.end())
            places.push_back(std::move(place));
    }
    return places;
}

}  // namespace gw::transfer
