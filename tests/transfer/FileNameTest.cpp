#include <gtest/gtest.h>

#include "transfer/FileName.h"

namespace gw::transfer {
namespace {

using Strings = std::vector<std::string>;

TEST(DistinctNames, TheLaterOfTwoEqualNamesTakesTheNextFreeNumber) {
    const std::pair<Strings, Strings> cases[] = {
        {{"http://h/a.zip", "http://g/a.zip", "http://h/b.zip"}, {"a.zip", "a (2).zip", "b.zip"}},
        {{"http://h/a.zip", "http://g/a.zip", "ftp://f/a.zip"},
         {"a.zip", "a (2).zip", "a (3).zip"}},
        {{"http://h/README", "http://g/README"}, {"README", "README (2)"}},
        {{"http://h/x.tar.gz", "http://g/x.tar.gz"}, {"x.tar.gz", "x.tar (2).gz"}},
        {{"http://h/.profile", "http://g/.profile"}, {".profile", ".profile (2)"}},
        // A file's own name is never given to another.
        {{"http://h/a.zip", "http://g/a.zip", "http://h/a (2).zip"},
         {"a.zip", "a (3).zip", "a (2).zip"}},
        {{"http://h/d/", "http://g/d/"}, {"", ""}},
        {{"http://h/A.zip", "http://g/a.zip"}, {"A.zip", "a.zip"}},
        {{"http://h/p.php?v=1.2", "http://g/p.php?v=1.2"}, {"p.php?v=1.2", "p.php?v=1 (2).2"}},
    };
    for (const auto& [addresses, names] : cases)
        EXPECT_EQ(DistinctNames(addresses), names) << addresses.front();
}

}  // namespace
}  // namespace gw::transfer
