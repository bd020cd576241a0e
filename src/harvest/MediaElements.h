#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/MediaWalk.h"

namespace gw::harvest {

// The attributes that can name a picture, a video, a sound or the page's base address.
enum MediaAttribute : int {
    kSrcAttribute,
    kSrcsetAttribute,
    kDataSrcAttribute,
    kDataSrcsetAttribute,
    kDataOriginalAttribute,
    kDataLazySrcAttribute,
    kPosterAttribute,
    kDataAttribute,
    kStyleAttribute,
    kHrefAttribute,
    kMediaAttributeCount
};

// What a start tag is to this reading, by its lower-case name.
enum class TagKind : std::uint8_t {
    Other,
    Picture,  // img, source
    Video,
    Sound,  // audio, track, embed
    Object,
    Base,
    TextOnly,  // script, style, title, ... : their content is not markup
    Plaintext,
};

TagKind KindOf(std::string_view lowerName);

// The attribute of that lower-case name, when a tag of that kind names an address with it;
// -1 otherwise.
int MediaAttributeOf(TagKind kind, std::string_view lowerName);

// The kept attributes of one start tag, references decoded; `present` has bit 1 << attribute
// set for each the tag gave (the first of a repeated name only).
struct TagAttributes {
    std::uint32_t present = 0;
    const std::vector<std::string>* values = nullptr;

    bool has(MediaAttribute attribute) const { return (present >> attribute) & 1; }
    const std::string& operator[](MediaAttribute attribute) const { return (*values)[attribute]; }
};

// The addresses a start tag names, in the order they count.
void MediaOfElement(TagKind kind, const TagAttributes& attributes, std::size_t key,
                    std::vector<MediaFind>& found);

// Every address of a url(...) in a style attribute's value.
void UrlsOfStyle(std::string_view style, std::size_t key, std::vector<MediaFind>& found);

}  // namespace gw::harvest
