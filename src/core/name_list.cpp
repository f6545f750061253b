#include "core/name_list.h"

#include "text/wildcard.h"

namespace quorva {

const char* const kNavigationPageNames[8] = {"toc.htm",       "tab_toc.htm",   "top_top.htm",
                                             "indexpage.htm", "toc.html",      "tab_toc.html",
                                             "top_top.html",  "indexpage.html"};

bool IsNavigationPageName(std::string_view name) {
  const std::string folded = FoldAsciiCase(name);
  for (const char* navigation_page : kNavigationPageNames) {
    if (folded == navigation_page) {
      return true;
    }
  }
  return false;
}

void NameList::AddListedName(std::string_view name) {
  names_.Add(name);
  ++count_;
}

bool NameList::IsNewName(std::string_view name) const {
  return !names_.Holds(name);
}

bool NameList::ClaimName(std::string_view name) {
  const std::size_t held = names_.Size();
  if (names_.Add(name) < held) {
    return false;
  }
  ++count_;
  return true;
}

void NameList::ReleaseListedNames() {
  ClearListedNames();
}

void NameList::ClearListedNames() {
  names_.Clear();
  count_ = 0;
}

void NameList::AddNavigationPageNames() {
  for (const char* name : kNavigationPageNames) {
    AddListedName(name);
  }
}

void PageLinkList::AddPageLink(std::string_view name) {
  names_.emplace_back(name);
}

}  // namespace quorva
