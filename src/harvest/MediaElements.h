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

// The attribute of that lower-case name, or -1 for one that names nothing worth keeping.
int MediaAttributeOf(std::string_view lowerName);

// The kept attributes of one start tag, references decoded; `present` has bit 1 << attribute
// set for each the tag gave (the first of a repeated name only).
struct TagAttributes {
    std::uint32_t present = 0;
    const std::vector<std::string>* values = nullptr;

    bool has(MediaAttribute attribute) const { return (present >> attribute) & 1; }
    const std::string& operator[](MediaAttribute attribute) const { return (*values)[attribute]; }
};

// The addresses a start tag of lower-case name `tag` names, in the order they count.
void MediaOfElement(std::string_view tag, const TagAttributes& attributes, std::size_t key,
                    std::vector<MediaFind>& found);

// Every address of a url(...) in a style attribute's value.
void UrlsOfStyle(std::string_view style, std::size_t key, std::vector<MediaFind>& found);

// True for the elements whose content is text only (script, style, title, ...).
bool IsTextOnlyElement(std::string_view tag);

}  // namespace gw::harvest
