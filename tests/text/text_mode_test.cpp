#include "text/text_mode.h"

#include <gtest/gtest.h>

#include "core/text_reader.h"
#include "fakes/memory_file_system.h"

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

std::string ReadAllThrough(const std::string& bytes, std::size_t block) {
  MemoryFileSystem fs;
  fs.AddFile("f", bytes);
  auto file = fs.OpenForReading("f");
  TextModeReader reader(*file, block);
  std::string text;
  for (int c = reader.Next(); c != -1; c = reader.Next()) {
    text += static_cast<char>(c);
  }
  return text;
}

TEST(TextModeReader, MatchesTheWholeFileDecodingAtEveryBlockBoundary) {
  const std::string bytes = "ab\r\ncd\r\re\r\n\r\nf\r";
  for (std::size_t block = 1; block <= bytes.size() + 1; ++block) {
    EXPECT_EQ(ReadAllThrough(bytes, block), DecodeTextMode(bytes)) << "block " << block;
  }
  EXPECT_EQ(ReadAllThrough(std::string("x\x1Ay"), 1), "x");
  EXPECT_EQ(ReadAllThrough("\xC0\xFF", 4), "\xC0\xFF");
}

}  // namespace
}  // namespace quorva
