#include "text/style_sheet_compressor.h"

#include <gtest/gtest.h>

#include <string>

namespace quorva {
namespace {

using namespace std::string_literals;

TEST(CompressStyleSheetTextTest, DeclarationBlockBecomesOneLine) {
  EXPECT_EQ(CompressStyleSheetText("body {\r\n  margin: 0;\r\n  padding: 0;\r\n}\r\n"),
            "body {\nmargin:0;padding:0;}\n");
}

TEST(CompressStyleSheetTextTest, WhitespaceGoesOnlyAfterSeparatorsAndLineEnds) {
  EXPECT_EQ(CompressStyleSheetText("a   {  color:  red ;\t top : 0 }"),
            "a   {  color:red ;top :0 }");
  EXPECT_EQ(CompressStyleSheetText("a{}\n\n\n    b{}\n"), "a{}\nb{}\n");
}

TEST(CompressStyleSheetTextTest, CommentsGoWithTheirDelimiters) {
  EXPECT_EQ(CompressStyleSheetText("/* header */\r\nh1 { color: red }"), "\nh1 { color:red }");
  EXPECT_EQ(CompressStyleSheetText("a{}\n/*\n*/\nb{}"), "a{}\n\nb{}");
  EXPECT_EQ(CompressStyleSheetText("a/**/b"), "ab");
  EXPECT_EQ(CompressStyleSheetText("a/*/**/b/***/c/*****/d"), "abcd");
}

TEST(CompressStyleSheetTextTest, DelimitersNeverShareAByte) {
  EXPECT_EQ(CompressStyleSheetText("/*/ x */y"), "y");
  EXPECT_EQ(CompressStyleSheetText("/* reset */*{margin:0}"), "*{margin:0}");
  // A "/" that closes a comment opens no new one with the "*" after it.
  EXPECT_EQ(CompressStyleSheetText("/**/*/x"), "*/x");
}

TEST(CompressStyleSheetTextTest, OpenCommentRemovesTheRestButItsLineFeed) {
  EXPECT_EQ(CompressStyleSheetText("a{}/* x\n\ny{}\n"), "a{}\n");
}

TEST(CompressStyleSheetTextTest, CompactTextIsUnchanged) {
  EXPECT_EQ(CompressStyleSheetText(""), "");
  const std::string compact = "body {margin:0;}\nh1, h2 {color:#003366;}\n";
  EXPECT_EQ(CompressStyleSheetText(compact), compact);
}

TEST(CompressStyleSheetTextTest, NulIsAnOrdinaryByte) {
  EXPECT_EQ(CompressStyleSheetText("a{x:\0  y}\r\n/*\0*/b"s), "a{x:\0  y}\nb"s);
}

}  // namespace
}  // namespace quorva
