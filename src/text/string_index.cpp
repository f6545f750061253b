#include "text/string_index.h"

#include "text/wildcard.h"

namespace quorva {

std::uint64_t StringIndex::Hash(std::string_view text) const {
  // FNV-1a: short names, so a simple byte hash is as fast as any.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(fold_case_ ? FoldAsciiCase(c) : c);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool StringIndex::Equal(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) {
    return false;
  }
  if (!fold_case_) {
    return a == b;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) {
      return false;
    }
  }
  return true;
}

std::size_t StringIndex::SlotOf(const PackedStrings& strings, std::string_view text,
                                std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
    if (slots_[slot] == 0 || Equal(strings[slots_[slot] - 1], text)) {
      return slot;
    }
  }
}

std::uint32_t StringIndex::Find(const PackedStrings& strings, std::string_view text) const {
  if (slots_.empty()) {
    return kNone;
  }
  const std::uint32_t held = slots_[SlotOf(strings, text, Hash(text))];
  return held == 0 ? kNone : held - 1;
}

void StringIndex::Grow(const PackedStrings& strings) {
  std::vector<std::uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, 0);
  for (std::uint32_t held : old) {
    if (held != 0) {
      const std::string_view text = strings[held - 1];
      slots_[SlotOf(strings, text, Hash(text))] = held;
    }
  }
}

void StringIndex::Clear() {
  count_ = 0;
  std::vector<std::uint32_t>().swap(slots_);
}

}  // namespace quorva
