#pragma once

namespace quorva {

// Space, tab, vertical tab and form feed: the white space a compressor may drop. Line feeds and
// carriage returns have rules of their own, and bytes above 0x7F are never white space.
constexpr bool IsInlineWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

}  // namespace quorva
