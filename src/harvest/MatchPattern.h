#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace gw::harvest {

// A pattern compiled once per search: every element but "*" matches exactly one byte, so each
// is kept as the set of bytes it accepts.
class MatchPattern {
  public:
    explicit MatchPattern(std::string_view pattern);

    // True when the pattern consumes the whole name.
    bool Matches(std::string_view name) const;

  private:
    struct Element {
        bool star = false;
        std::bitset<256> accepts;
    };
    // The one byte an element accepts, or -1 when it accepts more or is a "*".
    static int onlyByte(const Element& element);

    std::vector<Element> elements_;
    // Set when the pattern is "*", plain bytes, "*" (as "*.ZIP*"): a substring search then.
    std::string needle_;
    bool containsNeedle_ = false;
};

}  // namespace gw::harvest
