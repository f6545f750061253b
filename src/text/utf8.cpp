#include "text/utf8.h"

namespace quorva {

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    code = 0xFFFD;
  }
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

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

std::string MakeValidUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      AppendUtf8(text, static_cast<unsigned char>(bytes[i]));
      ++i;
    } else {
      text.append(bytes, i, length);
      i += length;
    }
  }
  return text;
}

std::optional<std::vector<std::uint32_t>> DecodeUtf8(std::string_view bytes) {
  std::vector<std::uint32_t> codes;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      return std::nullopt;
    }
    // The lead byte keeps 7, 5, 4 or 3 bits; each following byte 6.
    std::uint32_t code =
        static_cast<unsigned char>(bytes[i]) & (length == 1 ? 0x7F : 0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    }
    codes.push_back(code);
    i += length;
  }
  return codes;
}

}  // namespace quorva
