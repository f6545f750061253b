#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/bit_scan.h"

namespace quorva {

// Finds one byte again and again in a text, forwards. Sixteen bytes at a time, it keeps what
// it learned of the last 64 bytes for the next call: a scanner asks for the next "<" a hundred
// times in a page, mostly a few dozen bytes on, where a call of memchr costs more than its
// search.
class ByteFinder {
 public:
  ByteFinder(std::string_view text, char byte) : text_(text), byte_(byte) {}

  // The first place at or after `from` that holds the byte; the text's size where none does.
  std::size_t Next(std::size_t from) {
    // Mostly the byte stands further on in the window at hand.
    if (from - window_ < 64) {
      const std::uint64_t bits = mask_ & (~std::uint64_t{0} << (from - window_));
      if (bits != 0) {
        return window_ + static_cast<std::size_t>(CountTrailingZeros(bits));
      }
    }
    return NextInLaterWindows(from);
  }

 private:
  std::size_t NextInLaterWindows(std::size_t from);
  // Bit i: the byte stands at window_ + i.
  std::uint64_t MaskAt(std::size_t window) const;

  std::string_view text_;
  char byte_;
  std::size_t window_ = SIZE_MAX;  // where the 64 bytes `mask_` tells of start
  std::uint64_t mask_ = 0;
};

}  // namespace quorva
