#include "passes/check/edge_lists.h"

#include <algorithm>

namespace quorva {

void EdgeLists::Set(std::uint32_t page, std::vector<std::uint32_t> targets) {
  std::sort(targets.begin(), targets.end());
  targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
  if (page >= lists_.size()) {
    lists_.resize(page + 1);
  }
  // A page scanned again leaves its old bytes unused: only pages written twice are.
  List& list = lists_[page];
  list.begin = bytes_.size();
  std::uint32_t previous = 0;
  for (std::uint32_t target : targets) {
    for (std::uint32_t gap = target - previous;; gap >>= 7) {
      if (gap < 0x80) {
        bytes_ += static_cast<char>(gap);
        break;
      }
      bytes_ += static_cast<char>((gap & 0x7f) | 0x80);
    }
    previous = target;
  }
  list.size = static_cast<std::uint32_t>(bytes_.size() - list.begin);
}

}  // namespace quorva
