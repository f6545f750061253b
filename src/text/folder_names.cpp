#include "text/folder_names.h"

#include <algorithm>

#include "text/modest_growth.h"

#include "text/wildcard.h"

namespace quorva {

FolderNames::FolderNames(std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    Add(name);
  }
}

void FolderNames::Add(std::string_view name) {
  MakeRoomFor(order_, 1);
  names_.Add(name);
  order_.push_back(static_cast<std::uint32_t>(names_.size() - 1));
}

namespace {

// A name's first eight bytes, letters folded, as one number that orders as they do. A shorter
// name is padded with NULs, which no file name holds, so it orders before a longer one that
// begins with it. Names whose keys differ order by their keys as NameLessWithoutCase orders them.
std::uint64_t SortKey(std::string_view name) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const char c = i < name.size() ? FoldAsciiCase(name[i]) : '\0';
    key = (key << 8) | static_cast<unsigned char>(c);
  }
  return key;
}

}  // namespace

void FolderNames::SelectAndSort(std::string_view pattern) {
  order_.erase(std::remove_if(
                   order_.begin(), order_.end(),
                   [&](std::uint32_t number) { return !MatchesWildcard(names_[number], pattern); }),
               order_.end());
  // Most names differ in their first bytes: a key of them spares folding the names at every
  // comparison of the sort.
  std::vector<std::uint64_t> keys(names_.size());
  for (std::uint32_t number : order_) {
    keys[number] = SortKey(names_[number]);
  }
  std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
    return keys[a] != keys[b] ? keys[a] < keys[b] : NameLessWithoutCase(names_[a], names_[b]);
  });
}

bool FolderNames::operator==(const FolderNames& other) const {
  return std::equal(begin(), end(), other.begin(), other.end());
}

}  // namespace quorva
