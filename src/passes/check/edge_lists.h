#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorva {

// The pages each page links, for the walk that finds the pages nothing reaches. Each edge is
// kept once, as the gap to the one before in a sorted list, in as few bytes as it needs, and a
// run of consecutive pages as its first and its length: a drop-down menu links every topic from
// every page that carries it, and its pages lie together in the listing, so a menu takes a few
// bytes.
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
    if (list.size == 0) {
      return;
    }
    // The chunk that holds the list: the last to start at or before it.
    const std::size_t chunk =
        std::upper_bound(chunk_starts_.begin(), chunk_starts_.end(), list.begin) -
        chunk_starts_.begin() - 1;
    const char* at = chunks_[chunk].data() + (list.begin - chunk_starts_[chunk]);
    const char* const end = at + list.size;
    std::uint32_t target = 0;
    while (at < end) {
      // The gap, shifted left by one; the low bit tells whether a run's length follows.
      const std::uint64_t code = ReadNumber(at);
      target += static_cast<std::uint32_t>(code >> 1);
      visit(target);
      for (std::uint64_t more = (code & 1) != 0 ? ReadNumber(at) : 0; more != 0; --more) {
        visit(++target);
      }
    }
  }

 private:
  // A number of seven bits a byte, low bits first; the high bit marks a byte that more follow.
  static std::uint64_t ReadNumber(const char*& at) {
    std::uint64_t number = 0;
    for (int shift = 0;; shift += 7) {
      const auto byte = static_cast<unsigned char>(*at++);
      number |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
      if ((byte & 0x80) == 0) {
        return number;
      }
    }
  }

  struct List {
    std::uint32_t begin = 0;  // counted through every chunk's bytes in turn
    std::uint32_t size = 0;   // in bytes
  };
  std::vector<List> lists_;  // by page
  // The lists' bytes in pieces of 64 KB (a longer list gets one of its own), so that growing
  // never needs room for twice what is kept; and where each piece starts in the count.
  std::vector<std::string> chunks_;
  std::vector<std::uint32_t> chunk_starts_;
};

}  // namespace quorva
