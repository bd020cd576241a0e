#include "cli/RateText.h"

#include <limits>

namespace gw::cli {

std::optional<std::uint64_t> ReadRate(std::string_view text) {
    std::uint64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case 'k':
            case 'K':
                unit = 1024;
                break;
            case 'm':
            case 'M':
                unit = 1024 * 1024;
                break;
            case 'g':
            case 'G':
                unit = 1024 * 1024 * 1024;
                break;
        }
    }
    const std::string_view digits = unit == 1 ? text : text.substr(0, text.size() - 1);
    if (digits.empty())
        return std::nullopt;
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (kMost - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (value > kMost / unit || value * unit < kMinLimitRate)
        return std::nullopt;
    return value * unit;
}

}  // namespace gw::cli
