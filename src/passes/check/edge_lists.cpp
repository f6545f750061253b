#include "passes/check/edge_lists.h"

#include <algorithm>

namespace quorva {

void EdgeLists::Set(std::uint32_t page, std::vector<std::uint32_t> targets) {
  std::sort(targets.begin(), targets.end());
  targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
  if (page >= lists_.size()) {
    lists_.resize(page + 1);
  }
  std::string bytes;
  std::uint32_t previous = 0;
  for (std::uint32_t target : targets) {
    for (std::uint32_t gap = target - previous;; gap >>= 7) {
      if (gap < 0x80) {
        bytes += static_cast<char>(gap);
        break;
      }
      bytes += static_cast<char>((gap & 0x7f) | 0x80);
    }
    previous = target;
  }
  constexpr std::size_t kChunk = 64 * 1024;
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < bytes.size()) {
    chunks_.emplace_back().reserve(std::max(kChunk, bytes.size()));
  }
  // A page scanned again leaves its old bytes unused: only pages written twice are.
  std::string& chunk = chunks_.back();
  lists_[page] =
      List{static_cast<std::uint32_t>(chunks_.size() - 1), static_cast<std::uint32_t>(chunk.size()),
           static_cast<std::uint32_t>(bytes.size())};
  chunk += bytes;
}

}  // namespace quorva
