#include "LiteralHarvest.h"

#include <set>

#include "harvest/TextWindow.h"

namespace gw::harvest::literal {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

namespace {

using Pos = long;

Pos Len(const std::string& s) {
    return static_cast<Pos>(s.size());
}

// The text of length n at p, cut short at the end.
std::string Mid(const std::string& s, Pos p, Pos n) {
    if (p > Len(s) || n <= 0)
        return "";
    return s.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(n));
}

std::string Left(const std::string& s, Pos n) {
    return Mid(s, 1, n);
}

// First position at or after `start` where `what` stands, 0 when none.
Pos InStr(Pos start, const std::string& s, const std::string& what) {
    for (Pos p = start; p + Len(what) - 1 <= Len(s); ++p)
        if (Mid(s, p, Len(what)) == what)
            return p;
    return 0;
}

Pos InStrRev(const std::string& s, const std::string& what) {
    for (Pos p = Len(s) - Len(what) + 1; p >= 1; --p)
        if (Mid(s, p, Len(what)) == what)
            return p;
    return 0;
}

std::string WithoutQuotes(const std::string& s) {
    std::string out;
    for (const char c : s)
        if (c != '"')
            out += c;
    return out;
}

// One pattern element at p (1-based) against one byte; sets `next` to the element after it.
bool ElementMatches(const std::string& pattern, Pos p, unsigned char c, Pos& next) {
    const char e = pattern[static_cast<std::size_t>(p - 1)];
    next = p + 1;
    if (e == '?')
        return true;
    if (e == '#')
        return c >= '0' && c <= '9';
    const Pos close = e == '[' ? InStr(p + 1, pattern, "]") : 0;
    if (close == 0)
        return c == static_cast<unsigned char>(e);
    next = close + 1;
    std::string list = Mid(pattern, p + 1, close - p - 1);
    const bool negated = Left(list, 1) == "!";
    if (negated)
        list = Mid(list, 2, Len(list));
    bool in = false;
    for (Pos k = 1; k <= Len(list); ++k) {
        const auto lo = static_cast<unsigned char>(list[static_cast<std::size_t>(k - 1)]);
        if (k + 2 <= Len(list) && Mid(list, k + 1, 1) == "-") {
            const auto hi = static_cast<unsigned char>(list[static_cast<std::size_t>(k + 1)]);
            in = in || (c >= lo && c <= hi);
            k += 2;
        } else {
            in = in || c == lo;
        }
    }
    return in != negated;
}

// Resolution of steps 7 on: the folder of the address the page came from.
std::string Folder(const std::string& fetchedAddress) {
    std::string a = fetchedAddress;
    for (Pos p = 1; p <= Len(a); ++p) {
        if (Mid(a, p, 1) == "?" || Mid(a, p, 1) == "#") {
            a = Left(a, p - 1);
            break;
        }
    }
    const Pos schemeEnd = InStr(1, a, "://");
    Pos hostStart = 1;
    if (schemeEnd > 0 && InStr(1, Left(a, schemeEnd - 1), "/") == 0)
        hostStart = schemeEnd + 3;
    const Pos last = InStrRev(a, "/");
    std::string folder = last == 0 || last < hostStart ? a + "/" : Left(a, last);
    const std::string upper = Upper(folder);
    if (Left(upper, 6) != "FTP://" && Left(upper, 7) != "HTTP://" && Left(upper, 8) != "HTTPS://")
        folder = "http://" + folder;
    return folder;
}

}  // namespace

bool Like(const std::string& name, const std::string& pattern) {
    // matches[n][p]: name from n on against the pattern from p on (1-based, Len + 1 = end).
    const Pos nl = Len(name);
    const Pos pl = Len(pattern);
    std::vector<std::vector<char>> matches(static_cast<std::size_t>(nl + 2),
                                           std::vector<char>(static_cast<std::size_t>(pl + 2)));
    auto at = [&](Pos n, Pos p) -> char& {
        return matches[static_cast<std::size_t>(n)][static_cast<std::size_t>(p)];
    };
    for (Pos n = nl + 1; n >= 1; --n) {
        for (Pos p = pl + 1; p >= 1; --p) {
            if (p == pl + 1) {
                at(n, p) = n == nl + 1;
            } else if (Mid(pattern, p, 1) == "*") {
                at(n, p) = at(n, p + 1) || (n <= nl && at(n + 1, p));
            } else {
                Pos next = 0;
                at(n, p) =
                    n <= nl &&
                    ElementMatches(
                        pattern, p,
                        static_cast<unsigned char>(name[static_cast<std::size_t>(n - 1)]), next) &&
                    at(n + 1, next);
            }
        }
    }
    return at(1, 1);
}

bool ResolveLink(const std::string& span, const std::string& upperSpan, const std::string& pattern,
                 const std::string& fetchedAddress, std::string& entry) {
    std::string link = span;
    std::string name = upperSpan;
    const std::string raw = upperSpan;
    Pos sp = 0;
    Pos q = 0;
    if (Len(link) >= 2) {
        sp = InStr(2, link, " ");
        q = InStr(2, link, "\"");
    }
    if (q != 0 && q < sp) {
        link = Left(link, q - 1);
        name = Left(name, q - 1);
    }
    if (sp != 0 && sp < q) {
        link = Left(link, sp - 1);
        name = Left(name, sp - 1);
    }
    if (InStr(1, link, "\"") != 0)
        link = WithoutQuotes(link);
    if (InStr(1, name, "\"") != 0)
        name = WithoutQuotes(name);
    if (const Pos slash = InStrRev(name, "/"); slash != 0)
        name = Mid(name, slash + 1, Len(name));
    if (InStr(1, name, "MAILTO:") != 0)
        return false;
    if (!Like(name, pattern))
        return false;
    if (InStr(1, raw, "HTTP://") != 0 || InStr(1, raw, "HTTPS://") != 0 ||
        InStr(1, raw, "FTP://") != 0) {
        entry = link;
        return true;
    }
    const std::string folder = Folder(fetchedAddress);
    if (Left(link, 2) == "//") {
        entry = Left(folder, InStr(1, folder, ":")) + link;
    } else if (Left(link, 1) == "/") {
        const Pos hostStart = InStr(1, folder, "://") + 3;
        entry = Left(folder, InStr(hostStart, folder, "/") - 1) + link;
    } else {
        entry = folder + link;
    }
    return true;
}

std::vector<std::string> Walk(const std::string& page, const std::string& fetchedAddress,
                              const std::string& pattern) {
    std::vector<std::string> found;
    const std::string u = Upper(page);
    const Pos n = Len(u);
    bool inAnchor = false;
    bool inTag = false;
    Pos i = 1;
    while (i <= n) {
        if (Mid(u, i, 7) == "<A HREF" && !inAnchor)
            inAnchor = true;
        if (Mid(u, i, 1) == "<" && !inAnchor)
            inTag = true;
        if (inTag &&
            (Mid(u, i, 7) == "HREF= \"" || Mid(u, i, 7) == "HREF =\"" || Mid(u, i, 6) == "HREF=\""))
            inAnchor = true;
        if (Mid(u, i, 1) == ">" && inAnchor) {
            inAnchor = false;
            inTag = false;
        }
        if (!inAnchor) {
            ++i;
            continue;
        }
        Pos g = InStr(i, u, ">");
        if (g == 0)
            g = n + 1;
        Pos first = 0;
        Pos last = -1;
        Pos j = InStr(i, u, "=");
        if (j != 0 && InStr(j + 1, u, ">") != 0) {
            first = j + 1;
            last = InStr(j + 1, u, ">") - 1;
        }
        if (first == 0) {
            j = InStr(i, u, "\"");
            if (j != 0 && InStr(j + 1, u, "\"") != 0) {
                first = j + 1;
                last = InStr(j + 1, u, "\"") - 1;
            }
        }
        if (first == 0) {
            j = 0;
            for (Pos p = i; p <= n && j == 0; ++p)
                if (Mid(u, p, 1) == "\"" || Mid(u, p, 1) == "=")
                    j = p;
            for (Pos p = j + 1; j != 0 && p <= n && first == 0; ++p) {
                if (Mid(u, p, 1) == "\"" || Mid(u, p, 1) == ">") {
                    first = j + 1;
                    last = p - 1;
                }
            }
        }
        if (first == 0) {
            ++i;
            continue;
        }
        std::string entry;
        if (last - first + 1 <= static_cast<Pos>(kMaxSpanLength) &&
            ResolveLink(Mid(page, first, last - first + 1), Mid(u, first, last - first + 1),
                        pattern, fetchedAddress, entry))
            found.push_back(entry);
        i = g;
    }
    return found;
}

void RemoveDuplicates(std::vector<std::string>& entries) {
    std::vector<std::string> list(1);
    list.insert(list.end(), entries.begin(), entries.end());
    Pos count = static_cast<Pos>(entries.size());
    auto remove = [&](Pos m) {
        for (Pos k = m; k < count; ++k)
            list[static_cast<std::size_t>(k)] = list[static_cast<std::size_t>(k + 1)];
        --count;
    };
    auto entry = [&](Pos k) -> const std::string& { return list[static_cast<std::size_t>(k)]; };
    Pos i = 1;
    while (i <= count) {
        const std::string& e = entry(i);
        if (Len(e) >= 4 && Mid(e, Len(e) - 3, 4) == ".com" && InStr(8, e, "/") == 0) {
            remove(i);
            i = 1;
            continue;
        }
        Pos j = i + 1;
        while (j <= count) {
            if (entry(j) == entry(i)) {
                remove(j);
                j = i + 1;
            } else {
                ++j;
            }
        }
        ++i;
    }
    entries.assign(list.begin() + 1, list.begin() + 1 + count);
}

std::vector<std::string> FirstOfEach(const std::vector<std::string>& entries) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (const std::string& e : entries)
        if (seen.insert(e).second)
            out.push_back(e);
    return out;
}

}  // namespace gw::harvest::literal
