#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/packed_strings.h"
#include "text/string_index.h"

namespace quorva {

// A set of byte strings, each kept once in one buffer and numbered in the order it was added.
// A run remembers a few names and paths for every topic; kept as separate std::string nodes of a
// hash set, each takes about 70 bytes besides its own, here about 16. `fold_case` makes the
// table compare and hash strings with A-Z folded to a-z, and keep each as first added.
class StringTable {
 public:
  static constexpr std::uint32_t kNone = StringIndex::kNone;

  explicit StringTable(bool fold_case = false) : index_(fold_case) {}

  // The string's number; a new one when the table does not hold the string yet.
  std::uint32_t Add(std::string_view text);
  // The string's number; kNone when the table does not hold it.
  std::uint32_t Find(std::string_view text) const { return index_.Find(strings_, text); }
  bool Holds(std::string_view text) const { return Find(text) != kNone; }
  // The string numbered `number`, as first added.
  std::string_view Get(std::uint32_t number) const { return strings_[number]; }
  std::size_t Size() const { return strings_.size(); }
  // Every string, numbered, for an index of some of them (see StringIndex).
  const PackedStrings& Strings() const { return strings_; }
  // Forgets every string and gives back the memory.
  void Clear();

 private:
  PackedStrings strings_;  // every string, numbered
  StringIndex index_;
};

}  // namespace quorva
