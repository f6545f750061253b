#include "text/text_utils.h"

#include <cstdint>

#include "text/wildcard.h"

namespace quorva {

void TrimSpaces(std::string& text) {
  std::size_t end = text.find_last_not_of(' ');
  if (end == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(end + 1);
  text.erase(0, text.find_first_not_of(' '));
}

std::size_t CopyBounded(std::string& destination, std::string_view source, std::size_t size) {
  if (size > 0) {
    destination.assign(CutTo(source, size - 1));
  }
  return source.size();
}

std::size_t AppendBounded(std::string& destination, std::string_view source, std::size_t size) {
  if (destination.size() >= size) {
    return size + source.size();
  }
  std::size_t length = destination.size();
  destination.append(CutTo(source, size - 1 - length));
  return length + source.size();
}

std::string_view CutTo(std::string_view text, std::size_t limit) {
  return text.substr(0, limit);
}

int ReadDecimalInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) {
      value = kLimit;
    }
  }
  if (negative) {
    return static_cast<int>(-value);
  }
  return static_cast<int>(value > INT32_MAX ? INT32_MAX : value);
}

bool EndsWithWithoutCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) {
    return false;
  }
  // From the last byte backwards: most texts differ from a marker right before its ">".
  std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = suffix.size(); i-- > 0;) {
    if (FoldAsciiCase(tail[i]) != FoldAsciiCase(suffix[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace quorva
