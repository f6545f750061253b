#include "passes/check/page_reasons.h"

#include <algorithm>

#include "core/toc_page.h"

namespace quorva {

std::string ExplainUnreachable(std::vector<std::string> linking_pages) {
  constexpr std::size_t kNamed = 3;
  std::vector<std::string>& names = linking_pages;
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  if (names.empty()) {
    return "nothing links it";
  }
  std::string list = "linked only from ";
  const std::size_t named = std::min(names.size(), kNamed);
  for (std::size_t i = 0; i < named; ++i) {
    list += (i == 0 ? "" : (i + 1 == named && names.size() <= kNamed ? " and " : ", ")) + names[i];
  }
  if (names.size() > kNamed) {
    list += " and " + std::to_string(names.size() - kNamed) + " more";
  }
  return list;
}

std::string ExplainUnreadTocName(const PlacedText& link, const std::string& path) {
  if (!link.toc_form) {
    return "the TOC scan reads only href=\"...\" in lower case";
  }
  // The scan reads what follows the quote after an "href" that ends at the position.
  const std::string probe = " href\"" + link.text;
  constexpr std::size_t kValueStart = 6;
  std::size_t position = 4;
  std::string name;
  ScanHrefFileName(probe, name, position);
  if (name == path) {
    return "";
  }
  std::string reason =
      name.empty() ? "the TOC scan reads no name" : "the TOC scan reads \"" + name + "\"";
  const std::size_t cut = position - kValueStart;
  if (!name.empty() && cut < link.text.size()) {
    reason += ", cut at column " + std::to_string(link.column + cut);
  }
  return reason;
}

}  // namespace quorva
