#include "passes/check/edge_lists.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "text/modest_growth.h"

namespace quorva {

namespace {

void AppendNumber(std::string& bytes, std::uint64_t number) {
  for (;; number >>= 7) {
    if (number < 0x80) {
      bytes += static_cast<char>(number);
      return;
    }
    bytes += static_cast<char>((number & 0x7f) | 0x80);
  }
}

}  // namespace

void EdgeLists::Set(std::uint32_t page, std::vector<std::uint32_t> targets) {
  // A page's links to the menu's pages come in order already.
  if (!std::is_sorted(targets.begin(), targets.end())) {
    std::sort(targets.begin(), targets.end());
  }
  targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
  GrowToHold(lists_, page);
  std::string bytes;
  std::uint32_t previous = 0;
  for (std::size_t first = 0; first < targets.size();) {
    std::size_t last = first;
    while (last + 1 < targets.size() && targets[last + 1] == targets[last] + 1) {
      ++last;
    }
    const std::uint64_t gap = targets[first] - previous;
    AppendNumber(bytes, gap << 1 | (last > first ? 1 : 0));
    if (last > first) {
      AppendNumber(bytes, last - first);
    }
    previous = targets[last];
    first = last + 1;
  }
  if (bytes.empty()) {
    lists_[page] = List{};
    return;
  }
  constexpr std::size_t kChunk = 64 * 1024;
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < bytes.size()) {
    const std::uint64_t start =
        chunks_.empty() ? 0 : std::uint64_t{chunk_starts_.back()} + chunks_.back().size();
    const std::size_t room = std::max(kChunk, bytes.size());
    // The count takes four bytes: a help set would need billions of links to reach its end.
    if (start + room > UINT32_MAX) {
      throw std::bad_alloc();
    }
    chunk_starts_.push_back(static_cast<std::uint32_t>(start));
    chunks_.emplace_back().reserve(room);
  }
  // A page scanned again leaves its old bytes unused: only pages written twice are.
  std::string& chunk = chunks_.back();
  lists_[page] = List{static_cast<std::uint32_t>(chunk_starts_.back() + chunk.size()),
                      static_cast<std::uint32_t>(bytes.size())};
  chunk += bytes;
}

}  // namespace quorva
