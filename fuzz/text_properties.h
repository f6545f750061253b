#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorva {

// True when `part` is `whole` with some bytes taken out, the rest in their order.
inline bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t i = 0;
  for (char c : whole) {
    if (i < part.size() && part[i] == c) {
      ++i;
    }
  }
  return i == part.size();
}

// The text without the bytes a compressor may take out: space, tab, vertical tab, form feed,
// carriage return and line feed.
inline std::string WithoutWhitespace(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (std::string_view(" \t\v\f\r\n").find(c) == std::string_view::npos) {
      kept += c;
    }
  }
  return kept;
}

}  // namespace quorva
