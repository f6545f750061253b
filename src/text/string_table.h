#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/packed_strings.h"

namespace quorva {

// A set of byte strings, each kept once in one buffer and numbered in the order it was added.
// A run remembers a few names and paths for every topic; kept as separate std::string nodes of a
// hash set, each takes about 70 bytes besides its own, here about 16. `fold_case` makes the
// table compare and hash strings with A-Z folded to a-z, and keep each as first added.
class StringTable {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  explicit StringTable(bool fold_case = false) : fold_case_(fold_case) {}

  // The string's number; a new one when the table does not hold the string yet.
  std::uint32_t Add(std::string_view text);
  // The string's number; kNone when the table does not hold it.
  std::uint32_t Find(std::string_view text) const;
  bool Holds(std::string_view text) const { return Find(text) != kNone; }
  // The string numbered `number`, as first added.
  std::string_view Get(std::uint32_t number) const;
  std::size_t Size() const { return strings_.size(); }
  // Forgets every string and gives back the memory.
  void Clear();

 private:
  std::uint64_t Hash(std::string_view text) const;
  bool Equal(std::string_view a, std::string_view b) const;
  // The slot that holds `text`, or the empty slot where it would go.
  std::size_t SlotOf(std::string_view text, std::uint64_t hash) const;
  void Grow();

  bool fold_case_;
  PackedStrings strings_;             // every string, numbered
  std::vector<std::uint32_t> slots_;  // a string's number + 1, 0 where empty; a power of two
};

}  // namespace quorva
