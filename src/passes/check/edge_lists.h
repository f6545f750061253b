#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorva {

// The pages each page links, for the walk that finds the pages nothing reaches. Each edge is
// kept once, as the gap to the one before in a sorted list, in as few bytes as it needs: a
// drop-down menu links every topic from every page that carries it, and its pages lie close
// together in the listing, so an edge takes about one byte.
class EdgeLists {
 public:
  // The pages `page` links; replaces what an earlier scan of the page gave.
  void Set(std::uint32_t page, std::vector<std::uint32_t> targets);

  // Calls `visit` with each page `page` links, in increasing order.
  template <typename Visit>
  void ForEach(std::uint32_t page, Visit visit) const {
    if (page >= lists_.size()) {
      return;
    }
    const List& list = lists_[page];
    std::uint32_t target = 0;
    for (std::size_t at = list.begin; at < list.begin + list.size;) {
      std::uint32_t gap = 0;
      for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes_[at++]);
        gap |= static_cast<std::uint32_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
          break;
        }
      }
      target += gap;
      visit(target);
    }
  }

 private:
  struct List {
    std::size_t begin = 0;
    std::uint32_t size = 0;  // in bytes
  };
  std::vector<List> lists_;  // by page
  std::string bytes_;
};

}  // namespace quorva
