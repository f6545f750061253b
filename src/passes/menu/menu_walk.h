#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/run_context.h"
#include "passes/menu/menu_markup.h"
#include "text/packed_strings.h"

namespace quorva {

constexpr std::size_t kMenuLinkLimit = 260;

// Finds the next link at or after `position` (href in any letter case): its target is the
// whole double-quoted value, its link text what stands between the end of its opening tag and
// the next "<", both trimmed and cut at `limit`. False when no link is left before the end.
bool ScanMenuLink(std::string_view body, std::string& target, std::string& link_text,
                  std::size_t& position, std::size_t limit = kMenuLinkLimit);

// One kept link of a TOC page; a book's entry names the nested TOC page of its drop-down.
struct MenuLink {
  std::string_view nested_page_path;
  std::string_view target;
  std::string_view link_text;
};

// The kept links of one TOC page, in page order, packed one after the other: a walk holds the
// lists of every page above the one it walks, thousands deep in a deeply nested TOC.
class MenuLinkList {
 public:
  void AddMenuLink(const std::string& nested_page_path, const std::string& target,
                   const std::string& link_text);
  std::size_t Size() const { return parts_.size() / 3; }
  // The link numbered `index` in page order, valid until the next link is added.
  MenuLink Link(std::size_t index) const;

 private:
  PackedStrings parts_;  // each link's nested page path, target and text
};

// Appends the menu entries of a TOC page at menu `level`, with the extra menu items of that
// list placed among them, and walks each book's nested page into the book's drop-down.
// `parent_position` is the position of the entry whose drop-down this page fills.
void ParseThisMenuToc(RunContext& run, MenuMarkup& markup, const std::string& toc_page_path,
                      int level, int parent_position);

}  // namespace quorva
