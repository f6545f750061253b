#pragma once

#include <cstddef>
#include <vector>

#include "platform/file_system.h"

namespace quorva {

// Reads a file as text, a character at a time, without reading it whole: CR LF arrives as one
// LF, and a byte 26 ends the text.
class TextModeReader {
 public:
  explicit TextModeReader(ByteReader& reader, std::size_t block_size = 4096);
  // The next character as an unsigned byte value, or -1 at the end of the text.
  int Next();

 private:
  int NextByte();

  ByteReader& reader_;
  std::vector<char> block_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
};

}  // namespace quorva
