#include "text/folder_names.h"

#include <algorithm>

#include "text/wildcard.h"

namespace quorva {

FolderNames::FolderNames(std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    Add(name);
  }
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
  for (std::uint32_t index : order) {
    sorted.Add((*this)[index]);
  }
  *this = std::move(sorted);
}

}  // namespace quorva
