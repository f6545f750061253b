#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/extra_menu_items.h"

namespace quorva {

// Capacities of the setting texts, in characters.
constexpr std::size_t kUrlPrefixInlineLimit = 257;
constexpr std::size_t kUrlPrefixFileLimit = 260;
constexpr std::size_t kSeparatorLimit = 32765;
constexpr std::size_t kIndexPageAffixLimit = 32766;
constexpr std::size_t kMenuItemFileLimit = 32766;
constexpr std::size_t kSnippetSlotCount = 10;

// What the switches set; fixed before the first pass, read-only afterwards.
struct RunSettings {
  // Breadcrumbs and topic rewriting.
  bool breadcrumbs = true;
  bool index_frame_links = false;
  bool separator_at_first_level = false;
  std::string breadcrumb_separator = "<b>&nbsp;&raquo;&nbsp;</b>";
  std::string index_page_prefix = "i";
  std::string index_page_suffix;
  std::string url_prefix;
  bool file_name_marker = false;
  // Slot d (1 to 9) is snippets[d - 1]; the tenth slot, which "<PANEL:>" selects, stays empty.
  std::array<std::optional<std::string>, kSnippetSlotCount> snippets;
  bool snippets_loaded = false;
  // For each slot, whether a -p switch of its digit named a file that could not be read.
  std::array<bool, kSnippetSlotCount> snippet_unread{};

  // True when slot `slot`'s marker stays as it is: its -p file could not be read and no other
  // -p switch of its digit filled it, so a later run with the right file can still fill it.
  bool KeepsSnippetMarker(std::size_t slot) const {
    return snippet_unread[slot] && !snippets[slot];
  }

  // Index frame pages.
  bool index_frame_pages = true;
  bool per_topic_titles = true;

  // Drop-down menu.
  bool build_menu = false;
  bool handle_menu_markers = false;
  std::string menu_page_name = "toc-menu.htm";
  bool menu_wrapper = true;
  int button_depth = 1;
  std::string drop_arrow = " &#9658;";
  bool wide_spacing = false;
  bool repeat_parent = false;
  bool old_browser_markup = true;
  std::vector<ExtraMenuItem> extra_menu_items;

  // Compression.
  bool compression = false;
};

}  // namespace quorva
