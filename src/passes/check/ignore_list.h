#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "passes/check/finding.h"

namespace quorva {

// Findings the author accepts. Each line that is neither empty nor starts with "#" is
// "KIND PAGE [TARGET]", each a wildcard ("*" any run of characters, letters without case)
// matched against the finding as its line prints it; without TARGET any target matches. A line
// that names no PAGE accepts nothing. KIND "web" stands for every kind of --web, and a web
// address every place of which such a line matches is not asked at all.
class IgnoreList {
 public:
  IgnoreList() = default;
  explicit IgnoreList(std::string_view text);

  bool Ignores(const Finding& finding) const;
  // True when a "web" line matches the link as it stands in the page.
  bool KeepsFromTheWeb(const std::string& page, const std::string& link) const;

 private:
  struct Entry {
    std::string kind;
    std::string page;
    std::string target;  // "*" when the line names none
  };
  static bool IsWebEntry(const Entry& entry);
  std::vector<Entry> entries_;
};

}  // namespace quorva
