#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// Writes JSON text, two spaces an indent. Bytes of a string that are not UTF-8 are written as
// the Latin-1 characters of the same values, so the text is always valid UTF-8.
class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Names the next value of the object being written.
  void Key(std::string_view name);
  void String(std::string_view value);
  void Number(std::size_t value);
  void Null();
  // A member of the object being written: its name, then its value.
  void Field(std::string_view name, std::string_view value) {
    Key(name);
    String(value);
  }
  void Field(std::string_view name, std::size_t value) {
    Key(name);
    Number(value);
  }

  // The text written, with a final line break.
  std::string Take();

 private:
  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue();
  void NewLine();
  void AppendQuoted(std::string_view value);

  std::string text_;
  std::vector<bool> has_items_;  // per open object or array
  bool after_key_ = false;
};

}  // namespace quorva
