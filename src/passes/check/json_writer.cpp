#include "passes/check/json_writer.h"

#include "text/utf8.h"

namespace quorva {

void JsonWriter::NewLine() {
  text_ += '\n';
  text_.append(2 * has_items_.size(), ' ');
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!has_items_.empty()) {
    if (has_items_.back()) {
      text_ += ',';
    }
    has_items_.back() = true;
    NewLine();
  }
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  text_ += bracket;
  has_items_.push_back(false);
}

void JsonWriter::Close(char bracket) {
  const bool had_items = has_items_.back();
  has_items_.pop_back();
  if (had_items) {
    NewLine();
  }
  text_ += bracket;
}

void JsonWriter::Key(std::string_view name) {
  BeforeValue();
  AppendQuoted(name);
  text_ += ": ";
  after_key_ = true;
}

void JsonWriter::String(std::string_view value) {
  BeforeValue();
  AppendQuoted(value);
}

void JsonWriter::AppendQuoted(std::string_view value) {
  static const char kHex[] = "0123456789abcdef";
  text_ += '"';
  for (char c : MakeValidUtf8(value)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += c;
    } else if (byte < 0x20) {
      text_ += "\\u00";
      text_ += kHex[byte >> 4];
      text_ += kHex[byte & 0xF];
    } else {
      text_ += c;
    }
  }
  text_ += '"';
}

void JsonWriter::Number(std::size_t value) {
  BeforeValue();
  text_ += std::to_string(value);
}

void JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
}

std::string JsonWriter::Take() {
  text_ += '\n';
  return std::move(text_);
}

}  // namespace quorva
