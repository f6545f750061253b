#include "text/folder_names.h"

#include <gtest/gtest.h>

#include <string>

namespace quorva {
namespace {

TEST(FolderNames, SortsWithoutCaseSoEveryPlatformListsAlike) {
  FolderNames names{"b.htm", "A.htm", "s.css", "a.htm", "C.HTML", "x.php", ""};
  names.SelectAndSort("*.htm*");
  EXPECT_EQ(names, (FolderNames{"A.htm", "a.htm", "b.htm", "C.HTML"}));
  std::string joined;
  for (std::string_view name : names) {
    joined += std::string(name) + "|";
  }
  EXPECT_EQ(joined, "A.htm|a.htm|b.htm|C.HTML|");
  // Long names alike in their first bytes, a name that begins another, a byte past ASCII.
  FolderNames long_names{"chapter.htm",   "\xC9t\xE9.htm", "chapter-2.htm", "chapter-10.htm",
                         "CHAPTER-2.htm", "Chapter-1.htm", "chapte.htm"};
  long_names.SelectAndSort("*");
  EXPECT_EQ(long_names,
            (FolderNames{"chapte.htm", "Chapter-1.htm", "chapter-10.htm", "CHAPTER-2.htm",
                         "chapter-2.htm", "chapter.htm", "\xC9t\xE9.htm"}));
  names.SelectAndSort("*.css");
  EXPECT_TRUE(names.empty());
  // Listings are equal only name for name, not where the same bytes are cut otherwise.
  EXPECT_FALSE((FolderNames{"ab.htm", "c"}) == (FolderNames{"a", "bc.htm"}));
  EXPECT_FALSE((FolderNames{"a.htm"}) == (FolderNames{"b.htm"}));
}

}  // namespace
}  // namespace quorva
