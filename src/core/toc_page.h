#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/name_list.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "text/path.h"

namespace quorva {

// The longest link name a TOC page yields.
constexpr std::size_t kLinkNameLimit = 260;
// The longest name a walk looks for beside its TOC page; a longer one is cut to it.
constexpr std::size_t kListedNameLimit = 259;
// TOC pages nest at most this deep below the output TOC page (32 levels in all).
constexpr int kDeepestTocLevel = 31;

// The text of a TOC page as its link scan sees it: read as text, ending at its first NUL.
// Nothing when the page cannot be opened.
std::optional<std::string> ReadTocPage(FileSystem& fs, const std::string& path);

// When "href" (lowercase) ends exactly at `position`, takes the file name after the next
// double quote: leading characters other than letters, digits and underscores are passed over,
// and the name runs over letters, digits, underscores and full stops, at most `name_limit` of
// them. Advances `position` past what it read.
bool ScanHrefFileName(std::string_view text, std::string& name, std::size_t& position,
                      std::size_t name_limit = kLinkNameLimit);

// Calls `on_link` with every name the scan finds in a TOC page's text, in page order.
template <typename OnLink>
void ScanTocPageLinks(std::string_view text, OnLink on_link) {
  std::string name;
  for (std::size_t position = 4; position < text.size(); ++position) {
    // A name is taken only where "href" ends: the scan goes from one to the next.
    const std::size_t href = text.find("href", position - 3);
    if (href == std::string_view::npos) {
      return;
    }
    position = href + 3;
    if (ScanHrefFileName(text, name, position)) {
      on_link(name);
    }
  }
}

// True when the scan above takes `name` whole: letters, digits, underscores and full stops,
// starting with one of the first three.
bool IsWholeLinkName(std::string_view name);

// A page link names a page: ".htm", ".HTM", ".php" or ".PHP" stands somewhere in it.
bool HasPageExtension(std::string_view name);
// A TOC page's name is longer than three characters and begins with lowercase "toc".
bool IsTocPageName(std::string_view name);

// Claims a link for the current walk: true, with the name added to the list, when it names a
// page and no earlier link claimed it. Every link a walk keeps is claimed here, so each page
// is taken once per walk.
bool ClaimPageLink(NameList& names, std::string_view name);

// The head of a TOC page's progress line: a line break, one space per level, the corner, the
// page's name and " -(".
std::string TocProgressHead(int depth, const PathParts& page);

// The names a progress line lists: the first as it is, the others after ", ".
class ProgressNames {
 public:
  explicit ProgressNames(Console& console) : console_(console) {}
  void Add(std::string_view name);

 private:
  Console& console_;
  bool first_ = true;
};

// Starts a walk's visit of one TOC page and returns its text. A page that is missing or cannot
// be opened is reported by the walk that looked for it, the run waits for a key (on an
// interactive terminal) and nothing is returned, so the walk goes on with its next page.
// Otherwise the page's progress head is printed, and a page deeper than the walks go ends the
// run with the depth message right after it.
std::optional<std::string> EnterTocPage(FileSystem& fs, Console& console, std::string_view walk,
                                        const std::string& path, int depth);

}  // namespace quorva
