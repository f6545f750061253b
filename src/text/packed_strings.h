#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorva {

// Byte strings kept one after the other in one buffer, numbered in the order they were added:
// a run keeps a few names for every topic, and as separate std::string objects each would take
// 32 bytes and often a heap block besides its own bytes. Both buffers grow by a quarter.
class PackedStrings {
 public:
  // Throws std::bad_alloc past 4 GB of bytes: offsets take four bytes.
  void Add(std::string_view text);
  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // The string numbered `index`, valid until the next Add.
  std::string_view operator[](std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_.data() + begin, ends_[index] - begin);
  }
  // Forgets every string and gives back the memory.
  void Clear();

  bool operator==(const PackedStrings& other) const {
    return bytes_ == other.bytes_ && ends_ == other.ends_;
  }

 private:
  std::vector<char> bytes_;
  std::vector<std::uint32_t> ends_;  // where each string ends in bytes_
};

}  // namespace quorva
