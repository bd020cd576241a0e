#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/DistinctTexts.h"
#include "harvest/MediaElements.h"

namespace gw::harvest {

// Reads the page text as a browser with scripting off tokenizes markup, as the text arrives:
// comments and the contents of script, style and the other text-only elements are not markup,
// noscript's contents are. Of each start tag it keeps only the few attributes that can name a
// picture, a video or a sound (and the base address), at most kMaxElementBytes of them: an
// element that holds more yields nothing, so memory stays flat whatever the page holds.
class MediaWalk {
  public:
    static constexpr std::size_t kMaxElementBytes = 1 << 20;

    // The next stretch of page text, starting at `position` of it.
    void Add(std::string_view text, std::size_t position, PlacedQueue& found);
    // A line end that the page text's line rule removed: a line break to this reading.
    void LineBreak(PlacedQueue& found);

    // The first <base href> of the page, once read.
    const std::optional<std::string>& base() const { return base_; }

  private:
    enum class State : std::uint8_t {
        Data,
        TagOpen,
        EndTagOpen,
        TagName,
        BeforeAttrName,
        AttrName,
        AfterAttrName,
        BeforeAttrValue,
        AttrValueDouble,
        AttrValueSingle,
        AttrValueUnquoted,
        AfterAttrValue,
        SelfClosing,
        MarkupDeclaration,
        BogusComment,
        CommentStart,
        CommentStartDash,
        Comment,
        CommentEndDash,
        CommentEnd,
        CommentEndBang,
        RawText,
        Plaintext,
    };

    void Step(char c, std::size_t position, PlacedQueue& found);
    void StartTag(bool end);
    void EndTagName();
    // The bytes from `i` up to the first that ends a name (`alsoEquals`: an "=" too) go on the
    // name; returns that byte's position.
    std::size_t TakeName(std::string_view text, std::size_t i, std::string& name, bool alsoEquals);
    void EndAttrName();
    void AppendValue(std::string_view bytes);
    void EmitTag(std::size_t position, PlacedQueue& found);
    // A start tag read whole, its ">" at `position`: its addresses, and what its content is.
    // `referenced` marks the values that hold a character reference.
    void Element(TagKind kind, TagAttributes& attributes, std::uint32_t referenced,
                 std::size_t position, PlacedQueue& found);
    // The tag after a "<" at `i - 1`, when it ends in `text`: the position after its ">".
    // npos when the tag is not read here (not whole in the text, a comment, no tag at all).
    std::size_t ReadWholeTag(std::string_view text, std::size_t i, std::size_t position,
                             PlacedQueue& found);
    // After a mark that may end a comment ("<!--", "<!---", "--!"): "-" leads to `onDash`, ">"
    // ends the comment, anything else is its text again and is read once more (true).
    bool AfterCommentMark(char c, State onDash);
    // The content of a text-only element: true while it goes on, false once `c` ends it.
    bool RawTextGoesOn(char c);

    State state_ = State::Data;
    bool endTag_ = false;
    std::uint8_t kind_ = 0;  // the TagKind of the tag being read
    std::string tagName_;
    std::string attrName_;
    int attr_ = -1;           // the attribute whose value is being kept, or -1
    std::uint32_t seen_ = 0;  // the kept attributes this tag has given, one bit each
    std::vector<std::string> values_;
    TagAttributes attributes_;
    std::size_t keptBytes_ = 0;
    bool overflow_ = false;
    int markupDashes_ = 0;
    std::string rawEnd_;          // "script" inside a script, and the like
    std::size_t rawMatched_ = 0;  // of "</" and rawEnd_, the bytes seen so far
    std::optional<std::string> base_;
    std::string decoded_[kMediaAttributeCount];
    DistinctTexts tagsRead_;  // tags of media read whole, up to their first ">"
};

}  // namespace gw::harvest
