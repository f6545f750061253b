#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorva {

// What tells a long text again where it stands whole in another, without keeping its bytes: its
// size, its first eight bytes and a 64-bit digest of each 4 KB piece. Two different texts of
// one size pass for each other only where every piece's digest agrees, once in 2^64 per piece
// for texts nobody made to collide.
class TextSignature {
 public:
  explicit TextSignature(std::string_view text);

  std::size_t Size() const { return size_; }

  // True when the text stands whole in `text` from `at`.
  bool StandsAt(std::string_view text, std::size_t at) const;

 private:
  std::size_t size_;
  std::uint64_t head_ = 0;
  std::vector<std::uint64_t> pieces_;
};

}  // namespace quorva
