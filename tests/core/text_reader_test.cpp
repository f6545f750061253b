#include "core/text_reader.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"
#include "text/text_mode.h"

namespace quorva {
namespace {

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
