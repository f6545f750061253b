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

void FolderNames::SelectAndSort(std::string_view pattern) {
  order_.erase(std::remove_if(
                   order_.begin(), order_.end(),
                   [&](std::uint32_t number) { return !MatchesWildcard(names_[number], pattern); }),
               order_.end());
  std::sort(order_.begin(), order_.end(), [this](std::uint32_t a, std::uint32_t b) {
    return NameLessWithoutCase(names_[a], names_[b]);
  });
}

bool FolderNames::operator==(const FolderNames& other) const {
  return std::equal(begin(), end(), other.begin(), other.end());
}

}  // namespace quorva
