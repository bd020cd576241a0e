#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/PlacedQueue.h"

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

// Names in any letter case.
TagKind KindOf(std::string_view name);

// The attribute of that name, when a tag of that kind names an address with it; -1 otherwise.
int MediaAttributeOf(TagKind kind, std::string_view name);

// The kept attributes of one start tag, references decoded; `present` has bit 1 << attribute
// set for each the tag gave (the first of a repeated name only).
struct TagAttributes {
    std::uint32_t present = 0;
    std::string_view values[kMediaAttributeCount];

    bool has(MediaAttribute attribute) const { return (present >> attribute) & 1; }
    std::string_view operator[](MediaAttribute attribute) const { return values[attribute]; }
};

// The addresses a start tag names, in the order they count, as written (references decoded).
// `key` is the tag's place among the page's addresses: twice the position of its ">", plus one,
// so that an anchor span starting inside the same tag (twice its position) comes first.
void MediaOfElement(TagKind kind, const TagAttributes& attributes, std::size_t key,
                    PlacedQueue& found);

// Every address of a url(...) in a style attribute's value.
void UrlsOfStyle(std::string_view style, std::size_t key, PlacedQueue& found);

}  // namespace gw::harvest
