#include "core/name_list.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(NameList, SeededNavigationNamesMatchInAnyCase) {
  NameList names;
  names.AddNavigationPageNames();
  EXPECT_EQ(names.Count(), 8u);
  for (const char* name : {"TOC.HTM", "Toc.htm", "toc.htm", "toc.html", "INDEXPAGE.HTML"}) {
    EXPECT_FALSE(names.IsNewName(name)) << name;
  }
  EXPECT_TRUE(names.IsNewName("toc1.htm"));
  EXPECT_TRUE(names.IsNewName("sub\\toc.htm"));
  EXPECT_TRUE(names.IsNewName(" toc.htm"));
}

TEST(NameList, OnlyAsciiLettersFoldCase) {
  NameList names;
  names.AddListedName("\xC0.htm");
  EXPECT_TRUE(names.IsNewName("\xE0.htm"));
  EXPECT_FALSE(names.IsNewName("\xC0.HTM"));
}

TEST(NameList, DuplicatesCountTwiceAndReleaseForgetsEverything) {
  NameList names;
  names.AddNavigationPageNames();
  names.AddListedName("a.htm");
  names.AddListedName("A.HTM");
  EXPECT_EQ(names.Count(), 10u);
  EXPECT_FALSE(names.IsNewName("a.htm"));
  // A claim adds only what is new, and counts only that.
  EXPECT_FALSE(names.ClaimName("A.htm"));
  EXPECT_TRUE(names.ClaimName("b.htm"));
  EXPECT_FALSE(names.IsNewName("B.HTM"));
  EXPECT_EQ(names.Count(), 11u);
  names.ReleaseListedNames();
  EXPECT_EQ(names.Count(), 0u);
  EXPECT_TRUE(names.IsNewName("a.htm"));
  EXPECT_TRUE(names.IsNewName("toc.htm"));
}

TEST(NameList, HasNoCapacityLimit) {
  NameList names;
  for (int i = 0; i < 40000; ++i) {
    names.AddListedName(std::to_string(i) + ".htm");
  }
  EXPECT_EQ(names.Count(), 40000u);
  EXPECT_FALSE(names.IsNewName("39999.HTM"));
  EXPECT_TRUE(names.IsNewName("40000.htm"));
}

TEST(PageLinkList, KeepsOrderAndHasNoCapacityLimit) {
  PageLinkList links;
  links.AddPageLink("b.htm");
  links.AddPageLink("a.htm");
  links.AddPageLink("b.htm");
  EXPECT_EQ(links.Names(), (std::vector<std::string>{"b.htm", "a.htm", "b.htm"}));
  links.ReleasePageLinks();
  EXPECT_TRUE(links.Names().empty());
  for (int i = 0; i < 40000; ++i) {
    links.AddPageLink("x");
  }
  EXPECT_EQ(links.Names().size(), 40000u);
}

}  // namespace
}  // namespace quorva
