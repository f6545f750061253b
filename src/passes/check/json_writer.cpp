#include "passes/check/json_writer.h"

namespace quorva {

namespace {

// The length of the valid UTF-8 sequence at `position`, 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t position) {
  const auto lead = static_cast<unsigned char>(bytes[position]);
  std::size_t length;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (position + length > bytes.size()) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[position + i]);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string AsUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
      ++i;
    } else {
      text.append(bytes, i, length);
      i += length;
    }
  }
  return text;
}

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
  for (char c : AsUtf8(value)) {
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

std::string JsonWriter::Take() {
  text_ += '\n';
  return std::move(text_);
}

}  // namespace quorva
