#include "harvest/MatchPattern.h"

#include <cstddef>

namespace gw::harvest {
namespace {

using ByteSet = std::bitset<256>;

std::size_t byteOf(char c) {
    return static_cast<unsigned char>(c);
}

// The bytes a bracket list accepts; `list` is the text between "[" and "]".
ByteSet bracketList(std::string_view list) {
    const bool negated = !list.empty() && list.front() == '!';
    if (negated)
        list.remove_prefix(1);
    ByteSet set;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (k + 2 < list.size() && list[k + 1] == '-') {
            // A reversed range such as [F-A] accepts nothing rather than guessing an order.
            for (std::size_t b = byteOf(list[k]); b <= byteOf(list[k + 2]); ++b)
                set.set(b);
            k += 2;
        } else {
            set.set(byteOf(list[k]));
        }
    }
    return negated ? ~set : set;
}

}  // namespace

int MatchPattern::onlyByte(const Element& element) {
    if (element.star || element.accepts.count() != 1)
        return -1;
    int byte = 0;
    while (!element.accepts.test(static_cast<std::size_t>(byte)))
        ++byte;
    return byte;
}

MatchPattern::MatchPattern(std::string_view pattern) {
    for (std::size_t p = 0; p < pattern.size(); ++p) {
        Element element;
        const char c = pattern[p];
        const std::size_t close = c == '[' ? pattern.find(']', p + 1) : std::string_view::npos;
        if (c == '*') {
            // Runs of "*" match what one does; keeping one keeps the backtracking short.
            if (!elements_.empty() && elements_.back().star)
                continue;
            element.star = true;
        } else if (c == '?') {
            element.accepts.set();
        } else if (c == '#') {
            for (char d = '0'; d <= '9'; ++d)
                element.accepts.set(byteOf(d));
        } else if (close != std::string_view::npos) {
            element.accepts = bracketList(pattern.substr(p + 1, close - p - 1));
            p = close;
        } else {
            // Also an unclosed "[": such a pattern never reaches a search (PatternIsValid).
            element.accepts.set(byteOf(c));
        }
        elements_.push_back(element);
    }
    // "*", plain bytes, "*" (as "*.ZIP*", by far the usual case) is a substring search.
    containsNeedle_ = elements_.size() >= 2 && elements_.front().star && elements_.back().star;
    for (std::size_t e = 1; containsNeedle_ && e + 1 < elements_.size(); ++e) {
        const int byte = onlyByte(elements_[e]);
        containsNeedle_ = byte >= 0;
        needle_ += static_cast<char>(byte);
    }
}

bool MatchPattern::Matches(std::string_view name) const {
    if (containsNeedle_)
        return name.find(needle_) != std::string_view::npos;
    // Every element but "*" takes one byte, so going back to the last "*" and letting it take
    // one byte more is enough: O(name x pattern), never exponential.
    const std::size_t npos = std::string_view::npos;
    std::size_t n = 0;
    std::size_t e = 0;
    std::size_t starElement = npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (e < elements_.size() && elements_[e].star) {
            starElement = ++e;
            starName = n;
        } else if (e < elements_.size() && elements_[e].accepts.test(byteOf(name[n]))) {
            ++e;
            ++n;
        } else if (starElement != npos) {
            e = starElement;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (e < elements_.size() && elements_[e].star)
        ++e;
    return e == elements_.size();
}

}  // namespace gw::harvest
