#include "harvest/LinkResolver.h"

#include "harvest/ByteScan.h"
#include "harvest/Harvest.h"
#include "harvest/UpperCase.h"

namespace gw::harvest {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool startsWithUpper(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size())
        return false;
    for (std::size_t k = 0; k < upperPrefix.size(); ++k)
        if (UpperAscii(text[k]) != upperPrefix[k])
            return false;
    return true;
}

bool hasKnownScheme(std::string_view address) {
    return startsWithUpper(address, "HTTP://") || startsWithUpper(address, "HTTPS://") ||
           startsWithUpper(address, "FTP://");
}

// One pass over the "://" of the span instead of one search per scheme.
bool namesAbsoluteAddress(std::string_view upperSpan) {
    for (std::size_t p = upperSpan.find("://"); p != npos; p = upperSpan.find("://", p + 1)) {
        const std::string_view before = upperSpan.substr(0, p);
        if (before.ends_with("HTTP") || before.ends_with("HTTPS") || before.ends_with("FTP"))
            return true;
    }
    return false;
}

std::string_view copyWithoutQuotes(std::string_view text, std::string& buffer) {
    buffer.clear();
    for (std::size_t from = 0, quote = text.find('"'); from < text.size();
         quote = text.find('"', from)) {
        const std::size_t end = quote == npos ? text.size() : quote;
        buffer.append(text.data() + from, end - from);
        from = end + 1;
    }
    return buffer;
}

// The text without its double quotes; a view into the text itself when its only quotes are
// its first and last bytes, as with most quoted addresses.
inline std::string_view withoutQuotes(std::string_view text, std::string& buffer) {
    std::string_view inner = text;
    if (!inner.empty() && inner.front() == '"')
        inner.remove_prefix(1);
    if (!inner.empty() && inner.back() == '"')
        inner.remove_suffix(1);
    if (FindEitherByte(inner, 0, '"', '"') == inner.size())
        return inner;
    return copyWithoutQuotes(text, buffer);
}

}  // namespace

JoinBase JoinBaseOf(std::string_view fetchedAddress) {
    std::string_view address = fetchedAddress.substr(0, fetchedAddress.find_first_of("?#"));
    // A "/" before the "://" means the "://" belongs to the path, not to a scheme.
    const std::size_t schemeEnd = address.find("://");
    const std::size_t hostStart =
        schemeEnd != npos && address.substr(0, schemeEnd).find('/') == npos ? schemeEnd + 3 : 0;
    const std::size_t lastSlash = address.rfind('/');

    JoinBase base;
    if (lastSlash == npos || lastSlash < hostStart) {
        base.folder = std::string(address) + '/';
    } else {
        base.folder = std::string(address.substr(0, lastSlash + 1));
    }
    if (!hasKnownScheme(base.folder))
        base.folder.insert(0, "http://");

    const std::size_t separator = base.folder.find("://");
    base.scheme = base.folder.substr(0, base.folder.find(':') + 1);
    base.origin = base.folder.substr(0, base.folder.find('/', separator + 3));
    return base;
}

LinkResolver::LinkResolver(std::string_view pattern, std::string_view fetchedAddress)
    : filter_(pattern), base_(JoinBaseOf(fetchedAddress)) {}

LinkResolver::LinkResolver(const NameFilter& filter, std::string_view fetchedAddress)
    : filter_(filter), base_(JoinBaseOf(fetchedAddress)) {}

bool LinkResolver::Resolve(std::string_view span, std::string_view upperSpan, std::string& entry) {
    // Cut at the first blank or double quote after the first character, when both occur; the
    // two positions are taken once, before either cut.
    std::size_t length = span.size();
    if (const std::size_t first = FindEitherByte(span, 1, ' ', '"'); first < span.size()) {
        const char other = span[first] == ' ' ? '"' : ' ';
        if (FindEitherByte(span, first + 1, other, other) < span.size())
            length = first;
    }
    const std::string_view link = withoutQuotes(span.substr(0, length), link_);
    // Only the name after the last "/" is ever looked at; removing quotes moves no "/".
    std::string_view name = upperSpan.substr(0, length);
    if (const std::size_t slash = FindLastByte(name, '/'); slash != npos)
        name.remove_prefix(slash + 1);
    name = withoutQuotes(name, name_);

    if (name.find("MAILTO:") != npos)
        return false;
    if (!filter_.Matches(name))
        return false;

    // The absolute test looks at the whole span, later attributes included.
    if (namesAbsoluteAddress(upperSpan)) {
        entry.assign(link);
        return true;
    }
    if (link.starts_with("//")) {
        entry.assign(base_.scheme);
    } else if (link.starts_with('/')) {
        entry.assign(base_.origin);
    } else {
        entry.assign(base_.folder);
    }
    entry += link;
    return true;
}

bool ResolveLink(std::string_view span, std::string_view upperSpan, std::string_view pattern,
                 std::string_view fetchedAddress, std::string& entry) {
    LinkResolver resolver(pattern, fetchedAddress);
    return resolver.Resolve(span, upperSpan, entry);
}

}  // namespace gw::harvest
