#pragma once

#include <string>
#include <string_view>

namespace quorva {

// Removes comments, carriage returns, repeated line feeds and the white space after ";", ":"
// and line ends from CSS text. Strings and url() values get no protection; every byte, NUL
// included, is text.
std::string CompressStyleSheetText(std::string_view text);

}  // namespace quorva
