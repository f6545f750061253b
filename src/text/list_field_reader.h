#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// Splits a comma-separated list one field per call. A field that begins with a double quote
// runs to the closing quote and may hold commas; a doubled quote inside it stands for one.
class ListFieldReader {
 public:
  explicit ListFieldReader(std::string_view list);
  // The next field, or nothing once the list is exhausted. A list ending in a comma yields a
  // last, empty field; an empty list yields one empty field.
  std::optional<std::string> NextListField();

 private:
  std::string list_;
  std::optional<std::size_t> cursor_;
};

}  // namespace quorva
