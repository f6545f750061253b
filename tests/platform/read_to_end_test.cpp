#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/file_system.h"

namespace quorva {
namespace {

// A file's bytes, handed out at most `chunk` bytes a read, as a read at the system's limit is.
class ChunkReader : public ByteReader {
 public:
  ChunkReader(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    ++reads;
    std::size_t count = std::min({size, chunk_, bytes_.size() - position_});
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
  }

  int reads = 0;

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
  // A regular file fills every read up to its end, so one that comes short once the length the
  // file was opened with is in is at its end: no read more only to hear nothing.
  const std::string grown(10000, 'g');
  ChunkReader longer(grown, 100000);
  EXPECT_EQ(ReadToEnd(longer, 10), grown);
  ChunkReader unchanged("0123456789", 100000);
  EXPECT_EQ(ReadToEnd(unchanged, 10), "0123456789");
  EXPECT_EQ(unchanged.reads, 1);
  for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{100000}}) {
    ChunkReader shorter("0123", chunk);
    EXPECT_EQ(ReadToEnd(shorter, 10), "0123") << chunk;
  }
}

}  // namespace
}  // namespace quorva
