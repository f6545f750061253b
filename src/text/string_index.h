#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/packed_strings.h"

namespace quorva {

// A hash index over strings kept in a PackedStrings, found by content, given by number. Tables
// that know different things of the same paths share one store of their bytes, each with an index
// of its own. `fold_case` makes the index compare and hash strings with A-Z folded to a-z, so that
// it finds every spelling of a string under the one it indexed first.
class StringIndex {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  explicit StringIndex(bool fold_case = false) : fold_case_(fold_case) {}

  // The number of the indexed string equal to `text` in `strings`; kNone when none is.
  std::uint32_t Find(const PackedStrings& strings, std::string_view text) const;

  // The number of the indexed string equal to `text`. When none is, indexes the number that
  // `add_string()` gives: that of a string equal to `text`, which it may add to `strings`.
  template <typename AddString>
  std::uint32_t FindOrAdd(const PackedStrings& strings, std::string_view text,
                          AddString add_string) {
    // At most half the slots in use keeps the probe runs short.
    if ((count_ + 1) * 2 > slots_.size()) {
      Grow(strings);
    }
    const std::size_t slot = SlotOf(strings, text, Hash(text));
    if (slots_[slot] != 0) {
      return slots_[slot] - 1;
    }
    const std::uint32_t number = add_string();
    slots_[slot] = number + 1;
    ++count_;
    return number;
  }

  // Makes the indexed string equal to `text` (one is) stand for the number `number`, that of
  // another string of `strings` equal to it.
  void Renumber(const PackedStrings& strings, std::string_view text, std::uint32_t number) {
    slots_[SlotOf(strings, text, Hash(text))] = number + 1;
  }

  // Forgets every string and gives back the memory.
  void Clear();

 private:
  std::uint64_t Hash(std::string_view text) const;
  bool Equal(std::string_view a, std::string_view b) const;
  // The slot that holds `text`, or the empty slot where it would go.
  std::size_t SlotOf(const PackedStrings& strings, std::string_view text, std::uint64_t hash) const;
  void Grow(const PackedStrings& strings);

  bool fold_case_;
  std::size_t count_ = 0;
  std::vector<std::uint32_t> slots_;  // a string's number + 1, 0 where empty; a power of two
};

}  // namespace quorva
