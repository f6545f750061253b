#include "core/extra_menu_items.h"

#include <optional>

#include "text/list_field_reader.h"
#include "text/text_utils.h"

namespace quorva {

void ParseExtraMenuItems(std::string_view list, std::vector<ExtraMenuItem>& items) {
  // A line end ends a field as a comma does.
  std::string text(CutTo(list, kExtraMenuListLimit));
  for (char& c : text) {
    if (c == '\n') {
      c = ',';
    } else if (c == '\r') {
      c = ' ';
    }
  }
  ListFieldReader fields(text);
  while (items.size() < kExtraMenuItemLimit) {
    std::optional<std::string> field[6];
    for (auto& f : field) {
      f = fields.NextListField();
      if (!f) {
        return;
      }
    }
    ExtraMenuItem item;
    item.level = ReadDecimalInteger(*field[0]);
    item.position = ReadDecimalInteger(*field[1]);
    item.parent_position = ReadDecimalInteger(*field[2]);
    item.target = std::string(CutTo(*field[3], kExtraMenuTextLimit));
    item.link_text = std::string(CutTo(*field[4], kExtraMenuTextLimit));
    item.title = std::string(CutTo(*field[5], kExtraMenuTextLimit));
    items.push_back(std::move(item));
  }
}

}  // namespace quorva
