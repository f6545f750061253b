#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace quorva {

// Removes comments, carriage returns, repeated line feeds and the white space after ";", ":"
// and line ends from CSS text. Strings and url() values get no protection; every byte, NUL
// included, is text.
std::string CompressStyleSheetText(std::string_view text);

// Rewrites a CSS file in place with CompressStyleSheetText; false when it cannot be read.
bool CompressStyleSheet(FileSystem& fs, const std::string& path);

}  // namespace quorva
