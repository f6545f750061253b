#include "text/folder_names.h"

#include <algorithm>
#include <new>

#include "text/wildcard.h"

namespace quorva {

FolderNames::FolderNames(std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    Add(name);
  }
}

void FolderNames::Add(std::string_view name) {
  // Offsets of four bytes: a folder's names never come to 4 GB.
  if (bytes_.size() + name.size() > UINT32_MAX) {
    throw std::bad_alloc();
  }
  bytes_.append(name);
  ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

std::string_view FolderNames::operator[](std::size_t index) const {
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(bytes_).substr(begin, ends_[index] - begin);
}

void FolderNames::SelectAndSort(std::string_view pattern) {
  std::vector<std::uint32_t> order;
  order.reserve(size());
  for (std::uint32_t index = 0; index < size(); ++index) {
    if (MatchesWildcard((*this)[index], pattern)) {
      order.push_back(index);
    }
  }
  std::sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
    return NameLessWithoutCase((*this)[a], (*this)[b]);
  });
  FolderNames sorted;
  sorted.ends_.reserve(order.size());
  for (std::uint32_t index : order) {
    sorted.Add((*this)[index]);
  }
  *this = std::move(sorted);
}

}  // namespace quorva
