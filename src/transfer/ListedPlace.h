#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gw::transfer {

// Where a checksum list's line puts a file, as text that a file's own address also gives: the
// list's folder (its address up to the last "/" of its path) joined with the line's name, and
// percent-decoded, since a list names files as they stand on disk ("a b.bin") while a page
// links them as addresses ("a%20b.bin").
std::string ListedPlace(std::string_view listAddress, std::string_view listedName);

// The places under which a list may name the file at `fileAddress`: its saved name, its name
// percent-decoded, and its last path segment without the query ("a.bin" of "a.bin?dl=1"),
// each in its own folder. The first is the one the run saves it under.
std::vector<std::string> PlacesOfFile(std::string_view fileAddress);

// The folder of `address` as ListedPlace writes it, ending in "/": a list there may name
// files in it and below it.
std::string ListedFolder(std::string_view address);

}  // namespace gw::transfer
