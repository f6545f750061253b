#include "text/string_table.h"

#include "text/wildcard.h"

namespace quorva {

std::uint64_t StringTable::Hash(std::string_view text) const {
  // FNV-1a: short names, so a simple byte hash is as fast as any.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(fold_case_ ? FoldAsciiCase(c) : c);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool StringTable::Equal(std::string_view a, std::string_view b) const {
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

std::string_view StringTable::Get(std::uint32_t number) const {
  return strings_[number];
}

std::size_t StringTable::SlotOf(std::string_view text, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
    if (slots_[slot] == 0 || Equal(Get(slots_[slot] - 1), text)) {
      return slot;
    }
  }
}

std::uint32_t StringTable::Find(std::string_view text) const {
  if (slots_.empty()) {
    return kNone;
  }
  const std::uint32_t held = slots_[SlotOf(text, Hash(text))];
  return held == 0 ? kNone : held - 1;
}

std::uint32_t StringTable::Add(std::string_view text) {
  // At most half the slots in use keeps the probe runs short.
  if ((strings_.size() + 1) * 2 > slots_.size()) {
    Grow();
  }
  const std::size_t slot = SlotOf(text, Hash(text));
  if (slots_[slot] != 0) {
    return slots_[slot] - 1;
  }
  const auto number = static_cast<std::uint32_t>(strings_.size());
  strings_.Add(text);
  slots_[slot] = number + 1;
  return number;
}

void StringTable::Grow() {
  std::vector<std::uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, 0);
  for (std::uint32_t held : old) {
    if (held != 0) {
      slots_[SlotOf(Get(held - 1), Hash(Get(held - 1)))] = held;
    }
  }
}

void StringTable::Clear() {
  strings_.Clear();
  std::vector<std::uint32_t>().swap(slots_);
}

}  // namespace quorva
