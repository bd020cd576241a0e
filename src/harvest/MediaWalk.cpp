#include "harvest/MediaWalk.h"

#include <array>

#include "harvest/ByteScan.h"
#include "harvest/CharacterReferences.h"
#include "harvest/MediaElements.h"

namespace gw::harvest {
namespace {

// Longer tag and attribute names than these name nothing this reading looks for.
constexpr std::size_t kLongestName = 16;

// Tags of media remembered whole, so that a repeat is known at a glance: at most this long
// each, and this much in all.
constexpr std::size_t kLongestRememberedTag = 512;
constexpr std::size_t kMaxRememberedTagBytes = 1 << 20;

bool NamesMedia(TagKind kind) {
    return kind == TagKind::Picture || kind == TagKind::Video || kind == TagKind::Sound ||
           kind == TagKind::Object;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f';
}

bool IsAsciiLetter(char c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

// What a byte ends inside a tag, one bit each: a tag read whole asks this of most of its bytes.
enum ByteEnds : std::uint8_t {
    kEndsNothing = 0,
    kBlankByte = 1,
    kEndsTagName = 2,   // a blank, "/" or ">"
    kEndsAttrName = 4,  // those and "="
    kEndsUnquoted = 8,  // a blank or ">"
};

constexpr std::array<std::uint8_t, 256> kByteEnds = [] {
    std::array<std::uint8_t, 256> ends{};
    for (const char c : {' ', '\t', '\n', '\f'})
        ends[static_cast<unsigned char>(c)] =
            kBlankByte | kEndsTagName | kEndsAttrName | kEndsUnquoted;
    ends['/'] = kEndsTagName | kEndsAttrName;
    ends['>'] = kEndsTagName | kEndsAttrName | kEndsUnquoted;
    ends['='] = kEndsAttrName;
    return ends;
}();

bool Ends(char c, ByteEnds what) {
    return (kByteEnds[static_cast<unsigned char>(c)] & what) != 0;
}

// The first position from `i` that is not a blank, or the text's length.
std::size_t SkipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() && Ends(text[i], kBlankByte))
        ++i;
    return i;
}

// The first position from `i` holding a byte that ends `what`, or the text's length.
std::size_t SkipTo(std::string_view text, std::size_t i, ByteEnds what) {
    while (i < text.size() && !Ends(text[i], what))
        ++i;
    return i;
}

}  // namespace

void MediaWalk::Add(std::string_view text, std::size_t position, PlacedQueue& found) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    // Where only one or two bytes can end a state, the stretch up to them is crossed at once.
    while (i < n) {
        switch (state_) {
            case State::Data: {
                const std::size_t open = FindEitherByte(text, i, '<', '<');
                if (open == n)
                    return;
                // Most tags lie whole in the text: read at once, they cost a few scans;
                // the rest go byte by byte.
                const std::size_t after = ReadWholeTag(text, open + 1, position, found);
                if (after != std::string_view::npos) {
                    i = after;
                    continue;
                }
                state_ = State::TagOpen;
                i = open + 1;
                continue;
            }
            case State::Plaintext:
                return;
            case State::BogusComment: {
                const std::size_t close = FindEitherByte(text, i, '>', '>');
                if (close == n)
                    return;
                state_ = State::Data;
                i = close + 1;
                continue;
            }
            case State::Comment: {
                const std::size_t dash = FindEitherByte(text, i, '-', '-');
                if (dash == n)
                    return;
                state_ = State::CommentEndDash;
                i = dash + 1;
                continue;
            }
            case State::RawText:
                if (rawMatched_ == 0) {
                    const std::size_t open = FindEitherByte(text, i, '<', '<');
                    if (open == n)
                        return;
                    rawMatched_ = 1;
                    i = open + 1;
                    continue;
                }
                break;
            case State::AttrValueDouble:
            case State::AttrValueSingle: {
                const char quote = state_ == State::AttrValueDouble ? '"' : '\'';
                const std::size_t end = FindEitherByte(text, i, quote, quote);
                AppendValue(text.substr(i, end - i));
                if (end == n)
                    return;
                state_ = State::AfterAttrValue;
                i = end + 1;
                continue;
            }
            case State::TagName:
                i = TakeName(text, i, tagName_, false);
                break;
            case State::AttrName:
                i = TakeName(text, i, attrName_, true);
                break;
            case State::BeforeAttrName: {
                while (i < n && IsBlank(text[i]))
                    ++i;
                if (i == n || text[i] == '/' || text[i] == '>' || text[i] == '=')
                    break;
                // The usual attribute, a name, "=" and a quote, is read in one go.
                attrName_.clear();
                const std::size_t end = TakeName(text, i, attrName_, true);
                state_ = State::AttrName;
                i = end;
                if (end + 1 < n && text[end] == '=' &&
                    (text[end + 1] == '"' || text[end + 1] == '\'')) {
                    EndAttrName();
                    state_ = text[end + 1] == '"' ? State::AttrValueDouble : State::AttrValueSingle;
                    i = end + 2;
                    continue;
                }
                break;
            }
            default:
                break;
        }
        if (i < n) {
            Step(text[i], position + i, found);
            ++i;
        }
    }
}

std::size_t MediaWalk::TakeName(std::string_view text, std::size_t i, std::string& name,
                                bool alsoEquals) {
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (Ends(c, alsoEquals ? kEndsAttrName : kEndsTagName))
            return i;
        // Past the longest name looked for, one more byte marks it as none of them.
        if (name.size() <= kLongestName)
            name += LowerAscii(c);
    }
    return i;
}

void MediaWalk::LineBreak(PlacedQueue& found) {
    // Never a ">", so the position is never read.
    Step('\n', 0, found);
}

void MediaWalk::StartTag(bool end) {
    endTag_ = end;
    kind_ = 0;
    tagName_.clear();
    attr_ = -1;
    seen_ = 0;
    keptBytes_ = 0;
    overflow_ = false;
}

void MediaWalk::EndTagName() {
    kind_ = static_cast<std::uint8_t>(endTag_ ? TagKind::Other : KindOf(tagName_));
}

void MediaWalk::EndAttrName() {
    attr_ = MediaAttributeOf(static_cast<TagKind>(kind_), attrName_);
    // An attribute given twice counts the first time only.
    if (attr_ >= 0 && ((seen_ >> attr_) & 1) != 0)
        attr_ = -1;
    if (attr_ >= 0) {
        seen_ |= 1u << attr_;
        if (values_.empty())
            values_.resize(kMediaAttributeCount);
        values_[attr_].clear();
    }
}

void MediaWalk::AppendValue(std::string_view bytes) {
    if (attr_ < 0 || bytes.empty() || overflow_)
        return;
    keptBytes_ += bytes.size();
    if (keptBytes_ > kMaxElementBytes) {
        overflow_ = true;
        for (std::string& value : values_)
            std::string().swap(value);
        return;
    }
    values_[attr_].append(bytes);
}

void MediaWalk::EmitTag(std::size_t position, PlacedQueue& found) {
    state_ = State::Data;
    if (endTag_)
        return;
    TagAttributes& attributes = attributes_;
    attributes.present = overflow_ ? 0 : seen_;
    std::uint32_t referenced = 0;
    for (int attribute = 0; attribute < kMediaAttributeCount; ++attribute) {
        if (!attributes.has(static_cast<MediaAttribute>(attribute)))
            continue;
        attributes.values[attribute] = values_[attribute];
        if (values_[attribute].find('&') != std::string::npos)
            referenced |= 1u << attribute;
    }
    Element(static_cast<TagKind>(kind_), attributes, referenced, position, found);
    if (static_cast<TagKind>(kind_) == TagKind::TextOnly)
        rawEnd_ = tagName_;
}

void MediaWalk::Element(TagKind kind, TagAttributes& attributes, std::uint32_t referenced,
                        std::size_t position, PlacedQueue& found) {
    if (attributes.present != 0) {
        for (int attribute = 0; referenced >> attribute != 0; ++attribute) {
            if (((referenced >> attribute) & 1) == 0)
                continue;
            std::string_view& value = attributes.values[attribute];
            std::string& decoded = decoded_[attribute];
            decoded.clear();
            DecodeAttributeReferences(value, decoded);
            value = decoded;
        }
        if (kind == TagKind::Base) {
            if (!base_ && attributes.has(kHrefAttribute))
                base_ = std::string(attributes[kHrefAttribute]);
        } else {
            MediaOfElement(kind, attributes, 2 * position + 1, found);
        }
    }
    if (kind == TagKind::Plaintext) {
        state_ = State::Plaintext;
    } else if (kind == TagKind::TextOnly) {
        state_ = State::RawText;
        rawMatched_ = 0;
    }
}

std::size_t MediaWalk::ReadWholeTag(std::string_view text, std::size_t i, std::size_t position,
                                    PlacedQueue& found) {
    constexpr std::size_t kPartly = std::string_view::npos;
    const std::size_t n = text.size();
    const bool end = i < n && text[i] == '/';
    i += end ? 1 : 0;
    // Comments, declarations and a "<" that opens no tag are left to the reading byte by byte.
    if (i >= n || !IsAsciiLetter(text[i]))
        return kPartly;
    const std::size_t nameStart = i;
    i = SkipTo(text, i, kEndsTagName);
    if (i == n)
        return kPartly;
    if (end && text[i] == '>')
        return i + 1;
    const std::string_view name = text.substr(nameStart, i - nameStart);
    const TagKind kind = end ? TagKind::Other : KindOf(name);
    // A dense page repeats its pictures' tags. One met before byte for byte gives nothing new,
    // its addresses being in line already, and one with no ">" inside its values ends at the
    // first: a repeat is known by that stretch alone.
    std::string_view stretch;
    std::uint64_t stretchHash = 0;
    if (!end && NamesMedia(kind)) {
        const std::size_t close = FindEitherByte(text, i, '>', '>');
        if (close < n && close + 2 - nameStart <= kLongestRememberedTag) {
            stretch = text.substr(nameStart - 1, close + 2 - nameStart);
            stretchHash = HashAddress(stretch);
            if (tagsRead_.Find(stretch, stretchHash) != DistinctTexts::npos)
                return close + 1;
        }
    }
    // Kept from tag to tag: only the values of the attributes marked present are read.
    TagAttributes& attributes = attributes_;
    attributes.present = 0;
    std::uint32_t referenced = 0;  // the kept values that hold a "&"
    std::size_t keptBytes = 0;
    for (;;) {
        // Between attributes; a "/" not before ">" changes nothing.
        while (i < n && (Ends(text[i], kBlankByte) || text[i] == '/'))
            ++i;
        if (i == n)
            return kPartly;
        if (text[i] == '>')
            break;
        // A name may start with "=".
        const std::size_t attrStart = i;
        i = SkipTo(text, i + 1, kEndsAttrName);
        int attribute = end ? -1 : MediaAttributeOf(kind, text.substr(attrStart, i - attrStart));
        if (attribute >= 0 && attributes.has(static_cast<MediaAttribute>(attribute)))
            attribute = -1;
        i = SkipBlanks(text, i);
        if (i == n)
            return kPartly;
        std::string_view value;
        bool hasReference = false;
        const bool hasValue = text[i] == '=';
        if (hasValue) {
            i = SkipBlanks(text, i + 1);
            if (i == n)
                return kPartly;
            if (text[i] == '"' || text[i] == '\'') {
                const char quote = text[i];
                std::size_t close = FindEitherByte(text, i + 1, quote, '&');
                if (close < n && text[close] == '&') {
                    hasReference = true;
                    close = FindEitherByte(text, close, quote, quote);
                }
                if (close == n)
                    return kPartly;
                value = text.substr(i + 1, close - i - 1);
                i = close + 1;
            } else if (text[i] != '>') {
                const std::size_t valueStart = i;
                i = SkipTo(text, i, kEndsUnquoted);
                if (i == n)
                    return kPartly;
                value = text.substr(valueStart, i - valueStart);
                hasReference = value.find('&') != std::string_view::npos;
            }
        }
        if (attribute >= 0) {
            attributes.present |= 1u << attribute;
            attributes.values[attribute] = value;
            referenced |= static_cast<std::uint32_t>(hasReference) << attribute;
            keptBytes += value.size();
        }
        if (hasValue && i < n && text[i] == '>')
            break;
    }
    if (!end) {
        // An element that keeps more than its bound yields nothing, as when read byte by byte.
        if (keptBytes > kMaxElementBytes)
            attributes.present = referenced = 0;
        Element(kind, attributes, referenced, position + i, found);
        if (!stretch.empty() && stretch.data() + stretch.size() == text.data() + i + 1 &&
            tagsRead_.bytes() < kMaxRememberedTagBytes) {
            bool added = false;
            tagsRead_.Insert(stretch, stretchHash, added);
        }
        if (kind == TagKind::TextOnly) {
            rawEnd_.clear();
            for (const char c : name.substr(0, kLongestName + 1))
                rawEnd_ += LowerAscii(c);
        }
    }
    return i + 1;
}

bool MediaWalk::AfterCommentMark(char c, State onDash) {
    if (c == '-') {
        state_ = onDash;
    } else if (c == '>') {
        state_ = State::Data;
    } else {
        state_ = State::Comment;
        return true;
    }
    return false;
}

bool MediaWalk::RawTextGoesOn(char c) {
    // rawMatched_ counts "<", "/" and the name's bytes seen.
    if (rawMatched_ == 1) {
        rawMatched_ = c == '/' ? 2 : (c == '<' ? 1 : 0);
        return true;
    }
    const std::size_t inName = rawMatched_ - 2;
    if (inName < rawEnd_.size()) {
        rawMatched_ = LowerAscii(c) == rawEnd_[inName] ? rawMatched_ + 1 : (c == '<' ? 1 : 0);
        return true;
    }
    if (Ends(c, kEndsTagName))
        return false;
    rawMatched_ = c == '<' ? 1 : 0;
    return true;
}

void MediaWalk::Step(char c, std::size_t position, PlacedQueue& found) {
    for (;;) {
        switch (state_) {
            case State::Data:
                if (c == '<')
                    state_ = State::TagOpen;
                return;
            case State::Plaintext:
                return;
            case State::TagOpen:
                if (c == '!') {
                    state_ = State::MarkupDeclaration;
                    markupDashes_ = 0;
                } else if (c == '/') {
                    state_ = State::EndTagOpen;
                } else if (IsAsciiLetter(c)) {
                    StartTag(false);
                    state_ = State::TagName;
                    continue;
                } else if (c == '?') {
                    state_ = State::BogusComment;
                } else {
                    state_ = State::Data;
                    continue;
                }
                return;
            case State::EndTagOpen:
                if (IsAsciiLetter(c)) {
                    StartTag(true);
                    state_ = State::TagName;
                    continue;
                }
                state_ = c == '>' ? State::Data : State::BogusComment;
                return;
            case State::TagName:
                if (Ends(c, kEndsTagName))
                    EndTagName();
                if (IsBlank(c)) {
                    state_ = State::BeforeAttrName;
                } else if (c == '/') {
                    state_ = State::SelfClosing;
                } else if (c == '>') {
                    EmitTag(position, found);
                } else {
                    TakeName(std::string_view(&c, 1), 0, tagName_, false);
                }
                return;
            case State::BeforeAttrName:
                if (IsBlank(c))
                    return;
                if (c == '/' || c == '>') {
                    state_ = State::AfterAttrName;
                    continue;
                }
                attrName_.clear();
                // An "=" here starts a name of its own.
                if (c == '=') {
                    attrName_ += c;
                    state_ = State::AttrName;
                    return;
                }
                state_ = State::AttrName;
                continue;
            case State::AttrName:
                if (Ends(c, kEndsTagName)) {
                    EndAttrName();
                    state_ = State::AfterAttrName;
                    continue;
                }
                if (c == '=') {
                    EndAttrName();
                    state_ = State::BeforeAttrValue;
                    return;
                }
                TakeName(std::string_view(&c, 1), 0, attrName_, true);
                return;
            case State::AfterAttrName:
                if (IsBlank(c))
                    return;
                if (c == '/') {
                    state_ = State::SelfClosing;
                } else if (c == '=') {
                    state_ = State::BeforeAttrValue;
                } else if (c == '>') {
                    EmitTag(position, found);
                } else {
                    attrName_.clear();
                    state_ = State::AttrName;
                    continue;
                }
                return;
            case State::BeforeAttrValue:
                if (IsBlank(c))
                    return;
                if (c == '"') {
                    state_ = State::AttrValueDouble;
                } else if (c == '\'') {
                    state_ = State::AttrValueSingle;
                } else if (c == '>') {
                    EmitTag(position, found);
                } else {
                    state_ = State::AttrValueUnquoted;
                    continue;
                }
                return;
            case State::AttrValueDouble:
            case State::AttrValueSingle:
                if (c == (state_ == State::AttrValueDouble ? '"' : '\'')) {
                    state_ = State::AfterAttrValue;
                } else {
                    AppendValue(std::string_view(&c, 1));
                }
                return;
            case State::AttrValueUnquoted:
                if (IsBlank(c)) {
                    state_ = State::BeforeAttrName;
                } else if (c == '>') {
                    EmitTag(position, found);
                } else {
                    AppendValue(std::string_view(&c, 1));
                }
                return;
            case State::AfterAttrValue:
                if (IsBlank(c)) {
                    state_ = State::BeforeAttrName;
                } else if (c == '/') {
                    state_ = State::SelfClosing;
                } else if (c == '>') {
                    EmitTag(position, found);
                } else {
                    state_ = State::BeforeAttrName;
                    continue;
                }
                return;
            case State::SelfClosing:
                if (c == '>') {
                    EmitTag(position, found);
                    return;
                }
                state_ = State::BeforeAttrName;
                continue;
            case State::MarkupDeclaration:
                // Only "<!--" opens a comment; "<!DOCTYPE" and the rest end at the next ">".
                if (c == '-' && markupDashes_ == 0) {
                    markupDashes_ = 1;
                    return;
                }
                if (c == '-') {
                    state_ = State::CommentStart;
                    return;
                }
                state_ = State::BogusComment;
                continue;
            case State::BogusComment:
                if (c == '>')
                    state_ = State::Data;
                return;
            case State::CommentStart:
                if (AfterCommentMark(c, State::CommentStartDash))
                    continue;
                return;
            case State::CommentStartDash:
                if (AfterCommentMark(c, State::CommentEnd))
                    continue;
                return;
            case State::Comment:
                if (c == '-')
                    state_ = State::CommentEndDash;
                return;
            case State::CommentEndDash:
                if (c == '-') {
                    state_ = State::CommentEnd;
                    return;
                }
                state_ = State::Comment;
                continue;
            case State::CommentEnd:
                if (c == '>') {
                    state_ = State::Data;
                } else if (c == '!') {
                    state_ = State::CommentEndBang;
                } else if (c != '-') {
                    state_ = State::Comment;
                    continue;
                }
                return;
            case State::CommentEndBang:
                if (AfterCommentMark(c, State::CommentEndDash))
                    continue;
                return;
            case State::RawText:
                if (rawMatched_ == 0) {
                    rawMatched_ = c == '<' ? 1 : 0;
                    return;
                }
                if (RawTextGoesOn(c))
                    return;
                // The element's end tag: its attributes are read and let go.
                rawMatched_ = 0;
                StartTag(true);
                state_ = State::TagName;
                continue;
        }
    }
}

}  // namespace gw::harvest
