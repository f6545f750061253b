#include "text/string_table.h"

namespace quorva {

std::uint32_t StringTable::Add(std::string_view text) {
  return index_.FindOrAdd(strings_, text, [&] {
    strings_.Add(text);
    return static_cast<std::uint32_t>(strings_.size() - 1);
  });
}

void StringTable::Clear() {
  strings_.Clear();
  index_.Clear();
}

}  // namespace quorva
