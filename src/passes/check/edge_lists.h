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
    const char* at = chunks_.empty() ? nullptr : chunks_[list.chunk].data() + list.begin;
    const char* const end = at + list.size;
    std::uint32_t target = 0;
    while (at < end) {
      std::uint32_t gap = 0;
      for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
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
    std::uint32_t chunk = 0;
    std::uint32_t begin = 0;  // in the chunk
    std::uint32_t size = 0;   // in bytes
  };
  std::vector<List> lists_;  // by page
  // The lists' bytes in pieces of 64 KB (a longer list gets one of its own), so that growing
  // never needs room for twice what is kept.
  std::vector<std::string> chunks_;
};

}  // namespace quorva
