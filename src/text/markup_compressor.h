#pragma once

#include <string>
#include <string_view>

namespace quorva {

// Removes redundant white space from HTML or PHP text: carriage returns, blank lines,
// indentation, runs of spaces, white space after "<" and a space before ">". Inside a bare
// "<pre>" element only carriage returns and empty lines go. Every byte, NUL included, is text.
std::string CompressMarkupText(std::string_view text);

// The same, in the text's own buffer: a page too large to keep twice is compressed where it is.
void CompressMarkupInPlace(std::string& text);

}  // namespace quorva
