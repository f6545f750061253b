#include "text/text_mode.h"

namespace quorva {

std::string DecodeTextMode(std::string_view bytes, TextEnd end) {
  if (end == TextEnd::kAtByte26) {
    std::size_t stop = bytes.find(kTextEnd);
    if (stop != std::string_view::npos) {
      bytes = bytes.substr(0, stop);
    }
  }
  std::string text;
  text.reserve(bytes.size());
  std::size_t start = 0;
  while (true) {
    std::size_t cr = bytes.find('\r', start);
    if (cr == std::string_view::npos) {
      text.append(bytes.substr(start));
      return text;
    }
    text.append(bytes.substr(start, cr - start));
    if (cr + 1 < bytes.size() && bytes[cr + 1] == '\n') {
      text += '\n';
      start = cr + 2;
    } else {
      text += '\r';
      start = cr + 1;
    }
  }
}

std::string EncodeTextMode(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 32 + 16);
  std::size_t start = 0;
  while (true) {
    std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) {
      bytes.append(text.substr(start));
      return bytes;
    }
    bytes.append(text.substr(start, lf - start));
    bytes += "\r\n";
    start = lf + 1;
  }
}

std::string_view UpToFirstNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace quorva
