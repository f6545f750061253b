#include "text/text_mode.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(TextMode, ReadTurnsCrLfIntoLfAndKeepsLoneCr) {
  EXPECT_EQ(DecodeTextMode("a\r\nb\rc\n\r\r\n"), "a\nb\rc\n\r\n");
}

TEST(TextMode, Byte26EndsTheTextUnlessBytesAreKept) {
  std::string bytes(
      "ab\x1A"
      "cd\r\n",
      7);
  EXPECT_EQ(DecodeTextMode(bytes), "ab");
  EXPECT_EQ(DecodeTextMode(bytes, TextEnd::kKeepBytes), std::string("ab\x1A"
                                                                    "cd\n",
                                                                    6));
}

TEST(TextMode, WriteTurnsEveryLfIntoCrLf) {
  EXPECT_EQ(EncodeTextMode("a\nb\n\n"), "a\r\nb\r\n\r\n");
  EXPECT_EQ(EncodeTextMode(""), "");
  EXPECT_EQ(EncodeTextMode(DecodeTextMode("x\r\ny\r\n")), "x\r\ny\r\n");
}

TEST(TextMode, NulEndsASettingText) {
  EXPECT_EQ(UpToFirstNul(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(UpToFirstNul("abc"), "abc");
}

}  // namespace
}  // namespace quorva
