#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/string_table.h"

namespace quorva {

// The eight navigation pages that no walk treats as a topic, in the order they are added.
extern const char* const kNavigationPageNames[8];

// True for one of the navigation pages' names, in any letter case.
bool IsNavigationPageName(std::string_view name);

// The names the current pass has claimed. Names compare without regard to the case of A-Z and
// are otherwise compared whole; membership is a hash lookup on the folded name.
class NameList {
 public:
  void AddListedName(std::string_view name);
  bool IsNewName(std::string_view name) const;
  // Adds the name when it is new, as IsNewName and AddListedName do, with one lookup; true
  // when it was.
  bool ClaimName(std::string_view name);
  void ReleaseListedNames();
  void ClearListedNames();
  void AddNavigationPageNames();
  std::size_t Count() const { return count_; }

 private:
  StringTable names_{true};
  std::size_t count_ = 0;
};

// The links one TOC page contributes, in the order its walk processes them.
class PageLinkList {
 public:
  void AddPageLink(std::string_view name);
  void ReleasePageLinks() { names_.clear(); }
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
};

}  // namespace quorva
