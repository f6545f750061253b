// Fuzzes the comma-list tokenizer and the extra menu item parser built on it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/extra_menu_items.h"
#include "fuzz_property.h"
#include "text/list_field_reader.h"

namespace quorva {
namespace {

std::vector<std::string> AllFields(std::string_view list) {
  ListFieldReader reader(list);
  std::vector<std::string> fields;
  // A list of n commas has at most n + 1 fields; more would mean the tokenizer never ends.
  const std::size_t most = static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
  while (std::optional<std::string> field = reader.NextListField()) {
    RequireProperty(fields.size() < most, "a list yields at most one field per comma, plus one");
    RequireProperty(field->size() <= list.size(), "a field is no longer than its list");
    fields.push_back(*field);
  }
  RequireProperty(!reader.NextListField(), "an exhausted list stays exhausted");
  return fields;
}

// Without double quotes a list is split at every comma: spaces before a field go, and so do
// the spaces at the very end of the list.
std::vector<std::string> UnquotedFields(std::string_view list) {
  list = list.substr(0, list.find_last_not_of(' ') + 1);
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    std::string_view field = list.substr(start, comma - start);
    field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
    fields.emplace_back(field);
    if (comma == list.size()) {
      return fields;
    }
    start = comma + 1;
  }
}

void CheckFields(std::string_view list) {
  const std::vector<std::string> fields = AllFields(list);
  RequireProperty(!fields.empty(), "every list yields a field, maybe empty");
  if (list.find('"') == std::string_view::npos) {
    RequireProperty(fields == UnquotedFields(list), "an unquoted list is split at its commas");
  }
}

void CheckExtraItems(std::string_view list, std::size_t held) {
  std::vector<ExtraMenuItem> items(held);
  for (std::size_t i = 0; i < held; ++i) {
    items[i].target = "held" + std::to_string(i);
  }
  ParseExtraMenuItems(list, items);
  RequireProperty(items.size() >= held && items.size() <= kExtraMenuItemLimit,
                  "items are only added, up to nine");
  for (std::size_t i = 0; i < held; ++i) {
    RequireProperty(items[i].target == "held" + std::to_string(i), "held items stay as they are");
  }
  for (const ExtraMenuItem& item : items) {
    RequireProperty(item.target.size() <= kExtraMenuTextLimit &&
                        item.link_text.size() <= kExtraMenuTextLimit &&
                        item.title.size() <= kExtraMenuTextLimit,
                    "an item's texts are cut at their limit");
  }
  const std::string_view used = list.substr(0, kExtraMenuListLimit);
  if (used.find('"') == std::string_view::npos) {
    // A line end ends a field as a comma does, and every six fields make an item.
    const std::size_t fields =
        static_cast<std::size_t>(
            std::count_if(used.begin(), used.end(), [](char c) { return c == ',' || c == '\n'; })) +
        1;
    RequireProperty(items.size() - held == std::min(kExtraMenuItemLimit - held, fields / 6),
                    "an unquoted list makes one item of every six fields");
  }
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  FuzzedDataProvider input(data, size);
  const std::size_t held = input.ConsumeIntegralInRange<std::size_t>(0, kExtraMenuItemLimit);
  const std::string list = input.ConsumeRemainingBytesAsString();
  CheckFields(list);
  CheckExtraItems(list, held);
  return 0;
}
