#include "text/style_sheet_compressor.h"

#include "text/inline_whitespace.h"

namespace quorva {

std::string CompressStyleSheetText(std::string_view text) {
  // The output is never longer than the input, so one buffer of its size takes all of it.
  std::string output(text.size(), '\0');
  char* const begin = output.data();
  char* end = begin;
  bool in_comment = false;
  // While set, white space and line feeds are dropped: after ";", ":" and a written line feed.
  bool after_separator = false;
  // The byte read before this one; NUL when that byte was a comment delimiter's "*" or "/",
  // since the two delimiters of a comment never share a byte.
  char previous = '\0';
  for (char c : text) {
    char read = c;
    if (c == '\n') {
      if (!after_separator) {
        *end++ = c;
        after_separator = true;
      }
    } else if (c == '\r') {
      // dropped everywhere
    } else if (c == '*' && !in_comment && previous == '/') {
      // The "/" was read outside a comment, so it is the last byte written: take it back.
      --end;
      in_comment = true;
      read = '\0';
    } else if (c == '/' && in_comment && previous == '*') {
      in_comment = false;
      read = '\0';
    } else if (in_comment) {
      // comment text is dropped
    } else if (c == ';' || c == ':') {
      *end++ = c;
      after_separator = true;
    } else if (c == '{' || c == '}') {
      *end++ = c;
      after_separator = false;
    } else if (IsInlineWhitespace(c)) {
      if (!after_separator) {
        *end++ = c;
      }
    } else {
      *end++ = c;
      after_separator = false;
    }
    previous = read;
  }
  output.resize(static_cast<std::size_t>(end - begin));
  return output;
}

}  // namespace quorva
