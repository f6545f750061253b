#include "core/extra_menu_items.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

std::vector<ExtraMenuItem> Parse(const std::string& list) {
  std::vector<ExtraMenuItem> items;
  ParseExtraMenuItems(list, items);
  return items;
}

TEST(ParseExtraMenuItems, SixFieldsMakeAnItem) {
  auto items = Parse("0,1,0,news.htm,News,Latest news");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].level, 0);
  EXPECT_EQ(items[0].position, 1);
  EXPECT_EQ(items[0].parent_position, 0);
  EXPECT_EQ(items[0].target, "news.htm");
  EXPECT_EQ(items[0].link_text, "News");
  EXPECT_EQ(items[0].title, "Latest news");
}

TEST(ParseExtraMenuItems, IncompleteItemsAreDropped) {
  EXPECT_TRUE(Parse("").empty());
  EXPECT_EQ(Parse("0,1,0,a,A,TA,1,2,0,b,B,TB,7").size(), 2u);
  EXPECT_TRUE(Parse("0,1,0,a,A").empty());
}

TEST(ParseExtraMenuItems, LineEndsSeparateFieldsAndATrailingCommaShiftsThem) {
  auto items = Parse("0,1,0,a.htm,A,TA\n1,0,2,b.htm,B,TB\n");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].parent_position, 2);
  EXPECT_EQ(items[1].title, "TB");
  auto shifted = Parse("0,1,0,a.htm,A,TA,\n1,0,2,b.htm,B,TB");
  ASSERT_EQ(shifted.size(), 2u);
  EXPECT_EQ(shifted[1].level, 0);
  EXPECT_EQ(shifted[1].position, 1);
  EXPECT_EQ(shifted[1].target, "2");
  auto crlf = Parse("x,y,z,t,l,title\r\n");
  ASSERT_EQ(crlf.size(), 1u);
  EXPECT_EQ(crlf[0].level, 0);
  EXPECT_EQ(crlf[0].title, "title ");
}

TEST(ParseExtraMenuItems, QuotedTextKeepsItsComma) {
  auto items = Parse("0,2,0,tips.htm,\"Tips, and tricks\",T");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].link_text, "Tips, and tricks");
}

TEST(ParseExtraMenuItems, StopsAtNineAndCutsTexts) {
  std::string list;
  for (int i = 0; i < 12; ++i) {
    list += "0," + std::to_string(i) + ",0,t,l,x,";
  }
  std::vector<ExtraMenuItem> items = Parse(list);
  EXPECT_EQ(items.size(), 9u);
  ParseExtraMenuItems("0,0,0,t,l,x", items);
  EXPECT_EQ(items.size(), 9u);
  auto long_items = Parse("0,0,0," + std::string(300, 't') + ",l,x");
  ASSERT_EQ(long_items.size(), 1u);
  EXPECT_EQ(long_items[0].target, std::string(259, 't'));
}

}  // namespace
}  // namespace quorva
