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
  names.SelectAndSort("*.css");
  EXPECT_TRUE(names.empty());
  // Listings are equal only name for name, not where the same bytes are cut otherwise.
  EXPECT_FALSE((FolderNames{"ab.htm", "c"}) == (FolderNames{"a", "bc.htm"}));
  EXPECT_FALSE((FolderNames{"a.htm"}) == (FolderNames{"b.htm"}));
}

}  // namespace
}  // namespace quorva
