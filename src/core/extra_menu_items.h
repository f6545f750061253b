#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

constexpr std::size_t kExtraMenuItemLimit = 9;
// An item list longer than this is read only this far.
constexpr std::size_t kExtraMenuListLimit = 32765;
// Longest target, link text or title of an extra item.
constexpr std::size_t kExtraMenuTextLimit = 259;

// A user-given menu entry, placed at its level and position among the TOC's entries.
struct ExtraMenuItem {
  int level = -1;
  int position = -1;
  int parent_position = -1;
  std::string target;
  std::string link_text;
  std::string title;
};

// Appends the complete items of one list (six fields each: level, position, parent position,
// target, link text, title) until nine items are held; an incomplete last item is dropped.
void ParseExtraMenuItems(std::string_view list, std::vector<ExtraMenuItem>& items);

}  // namespace quorva
