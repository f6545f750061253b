#include "core/text_reader.h"

#include "text/text_mode.h"

namespace quorva {

TextModeReader::TextModeReader(ByteReader& reader, std::size_t block_size)
    : reader_(reader), block_(block_size) {}

int TextModeReader::NextByte() {
  if (position_ == filled_) {
    filled_ = reader_.Read(block_.data(), block_.size());
    position_ = 0;
    if (filled_ == 0) {
      return -1;
    }
  }
  return static_cast<unsigned char>(block_[position_++]);
}

int TextModeReader::Next() {
  if (ended_) {
    return -1;
  }
  int c = NextByte();
  if (c == -1 || c == kTextEnd) {
    ended_ = true;
    return -1;
  }
  if (c == '\r') {
    int following = NextByte();
    if (following == '\n') {
      return '\n';
    }
    if (following != -1) {
      --position_;  // the byte after a lone CR is read again next time
    }
  }
  return c;
}

}  // namespace quorva
