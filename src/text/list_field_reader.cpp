#include "text/list_field_reader.h"

namespace quorva {

ListFieldReader::ListFieldReader(std::string_view list) : list_(list), cursor_(0) {}

std::optional<std::string> ListFieldReader::NextListField() {
  if (!cursor_) {
    return std::nullopt;
  }
  // Spaces before the field go, and so do the spaces at the very end of the list; spaces in
  // front of a comma stay in the field.
  std::size_t end = list_.find_last_not_of(' ');
  list_.erase(end == std::string::npos ? 0 : end + 1);
  std::size_t i = list_.find_first_not_of(' ', *cursor_);
  if (i == std::string::npos) {
    i = list_.size();
  }
  std::string field;
  bool may_open_quote = true;
  while (i < list_.size() && list_[i] != ',') {
    if (list_[i] == '"' && may_open_quote) {
      std::size_t close = list_.find('"', i + 1);
      std::size_t stop = close == std::string::npos ? list_.size() : close;
      field.append(list_, i + 1, stop - i - 1);
      may_open_quote = false;
      i = stop;
      if (close != std::string::npos) {
        ++i;
        if (i < list_.size() && list_[i] == '"') {
          field += '"';
          may_open_quote = true;  // the second quote opens the rest of the quoted text
        }
      }
    } else {
      field += list_[i++];
      may_open_quote = false;
    }
  }
  if (i >= list_.size()) {
    cursor_.reset();
  } else {
    cursor_ = i + 1;
  }
  return field;
}

}  // namespace quorva
