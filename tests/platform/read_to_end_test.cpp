#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/file_system.h"

namespace quorva {
namespace {

// A file's bytes, handed out at most `chunk` bytes a read, as a slow device may.
class ChunkReader : public ByteReader {
 public:
  ChunkReader(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t count = std::min({size, chunk_, bytes_.size() - position_});
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t position_ = 0;
};

TEST(ReadToEnd, ShortReadsBeforeTheExpectedEndDoNotCutTheFile) {
  ChunkReader reader("0123456789", 3);
  EXPECT_EQ(ReadToEnd(reader, 10), "0123456789");
}

TEST(ReadToEnd, AFileThatGrewOrShrankSinceItsLengthWasTakenIsReadWhole) {
  const std::string grown(10000, 'g');
  // Pieces of 5 and 10 bytes end a read right at the length the file was opened with.
  for (std::size_t chunk : {std::size_t{5}, std::size_t{7}, std::size_t{10}, std::size_t{100000}}) {
    ChunkReader longer(grown, chunk);
    EXPECT_EQ(ReadToEnd(longer, 10), grown) << chunk;
    ChunkReader shorter("0123", chunk);
    EXPECT_EQ(ReadToEnd(shorter, 10), "0123") << chunk;
  }
}

}  // namespace
}  // namespace quorva
