#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <vector>

#include "text/packed_strings.h"

namespace quorva {

// The names a folder listing gives, packed (see PackedStrings): a folder of a hundred thousand
// topics lists in a few megabytes, where a vector of strings would take 32 bytes a name besides
// the names. Selecting and sorting orders four-byte numbers, so the names are never copied.
class FolderNames {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = std::string_view;

    Iterator(const FolderNames& names, std::size_t index) : names_(&names), index_(index) {}
    std::string_view operator*() const { return (*names_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return index_ == other.index_; }
    bool operator!=(const Iterator& other) const { return index_ != other.index_; }

   private:
    const FolderNames* names_;
    std::size_t index_;
  };
  using value_type = std::string_view;
  using iterator = Iterator;
  using const_iterator = Iterator;

  FolderNames() = default;
  FolderNames(std::initializer_list<std::string_view> names);

  void Add(std::string_view name);
  std::size_t size() const { return order_.size(); }
  bool empty() const { return order_.empty(); }
  std::string_view operator[](std::size_t index) const { return names_[order_[index]]; }
  Iterator begin() const { return Iterator(*this, 0); }
  Iterator end() const { return Iterator(*this, size()); }

  // Keeps the names that match `pattern` (see MatchesWildcard), sorted by NameLessWithoutCase,
  // so that listings come out alike on every platform.
  void SelectAndSort(std::string_view pattern);

  bool operator==(const FolderNames& other) const;

 private:
  PackedStrings names_;               // every name added, in the order added
  std::vector<std::uint32_t> order_;  // the numbers of the names listed, in listing order
};

}  // namespace quorva
