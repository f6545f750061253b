#include "text/text_utils.h"

#include <gtest/gtest.h>

#include "text/list_field_reader.h"

namespace quorva {
namespace {

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds) {
  std::string spaces = "   ";
  TrimSpaces(spaces);
  EXPECT_EQ(spaces, "");
  std::string tab = "\tx";
  TrimSpaces(tab);
  EXPECT_EQ(tab, "\tx");
  std::string padded = "  a b \n ";
  TrimSpaces(padded);
  EXPECT_EQ(padded, "a b \n");
}

TEST(CopyBounded, CutsAtSizeLessOneAndReturnsTheSourceLength) {
  std::string out = "keep";
  EXPECT_EQ(CopyBounded(out, "abcdef", 4), 6u);
  EXPECT_EQ(out, "abc");
  out = "keep";
  EXPECT_EQ(CopyBounded(out, "abcdef", 0), 6u);
  EXPECT_EQ(out, "keep");
  EXPECT_EQ(CopyBounded(out, "ab", 260), 2u);
  EXPECT_EQ(out, "ab");
}

TEST(AppendBounded, AppendsWithinSizeOrNothingWhenAlreadyFull) {
  std::string out = "abc";
  EXPECT_EQ(AppendBounded(out, "def", 5), 6u);
  EXPECT_EQ(out, "abcd");
  out = "abc";
  EXPECT_EQ(AppendBounded(out, "def", 3), 6u);
  EXPECT_EQ(out, "abc");
  out = "abc";
  EXPECT_EQ(AppendBounded(out, "def", 100), 6u);
  EXPECT_EQ(out, "abcdef");
}

TEST(ReadDecimalInteger, ReadsLikeTheButtonDepthSwitch) {
  EXPECT_EQ(ReadDecimalInteger("2"), 2);
  EXPECT_EQ(ReadDecimalInteger("x"), 0);
  EXPECT_EQ(ReadDecimalInteger(""), 0);
  EXPECT_EQ(ReadDecimalInteger("-1"), -1);
  EXPECT_EQ(ReadDecimalInteger(" \t+12ab"), 12);
  EXPECT_EQ(ReadDecimalInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(ReadDecimalInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(EndsWithWithoutCase, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(EndsWithWithoutCase("x<TiTlE>", "<title>"));
  EXPECT_FALSE(EndsWithWithoutCase("<title >", "<title>"));
  EXPECT_FALSE(EndsWithWithoutCase("le>", "<title>"));
}

std::vector<std::string> AllFields(const std::string& list) {
  ListFieldReader reader(list);
  std::vector<std::string> fields;
  while (auto field = reader.NextListField()) {
    fields.push_back(*field);
  }
  return fields;
}

using Fields = std::vector<std::string>;

TEST(NextListField, SplitsAtCommasTrimmingLeadingSpaces) {
  EXPECT_EQ(AllFields("a,b,c"), (Fields{"a", "b", "c"}));
  EXPECT_EQ(AllFields(" a , b "), (Fields{"a ", "b"}));
  EXPECT_EQ(AllFields("a,"), (Fields{"a", ""}));
  EXPECT_EQ(AllFields(",b"), (Fields{"", "b"}));
  EXPECT_EQ(AllFields(""), (Fields{""}));
  EXPECT_EQ(AllFields("   "), (Fields{""}));
}

TEST(NextListField, QuotedFieldsHoldCommasAndDoubledQuotes) {
  EXPECT_EQ(AllFields("\"x,y\""), (Fields{"x,y"}));
  EXPECT_EQ(AllFields("\"say \"\"hi\"\"\""), (Fields{"say \"hi\""}));
  EXPECT_EQ(AllFields("\"a\"b,c"), (Fields{"ab", "c"}));
  EXPECT_EQ(AllFields("x\"y\",z"), (Fields{"x\"y\"", "z"}));
  EXPECT_EQ(AllFields("\"open, never closed"), (Fields{"open, never closed"}));
}

}  // namespace
}  // namespace quorva
