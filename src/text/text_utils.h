#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorva {

// Removes space characters (code 32 only) at both ends.
void TrimSpaces(std::string& text);

// Bounded copy and append with the strlcpy/strlcat contract: `size` counts a terminator, so
// the destination holds at most size - 1 characters; the result is the length that was tried.
std::size_t CopyBounded(std::string& destination, std::string_view source, std::size_t size);
std::size_t AppendBounded(std::string& destination, std::string_view source, std::size_t size);

// The first `limit` characters of a text.
std::string_view CutTo(std::string_view text, std::size_t limit);

// Leading white space skipped, an optional sign, digits up to the first non-digit; no digits
// gives 0. Values beyond a 32-bit integer are held at its limits.
int ReadDecimalInteger(std::string_view text);

// Space, tab, line feed, carriage return and form feed: the white space of HTML, CSS and URLs.
constexpr bool IsAsciiWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// True when `text` holds nothing but that white space.
inline bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (!IsAsciiWhiteSpace(c)) {
      return false;
    }
  }
  return true;
}

// The value of a hexadecimal digit in either case; -1 for any other character.
inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// True when `text` ends with `suffix`, letters A-Z compared without case.
bool EndsWithWithoutCase(std::string_view text, std::string_view suffix);

}  // namespace quorva
