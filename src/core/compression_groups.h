#pragma once

#include <string>
#include <string_view>

#include "text/markup_compressor.h"
#include "text/style_sheet_compressor.h"

namespace quorva {

// A pure byte-in, byte-out transformation of a whole file.
using TextCompressor = std::string (*)(std::string_view bytes);

// The files of the output folder that the compression pass rewrites, group by group.
struct CompressionGroup {
  const char* pattern;
  const char* heading;
  TextCompressor compress;
};

inline constexpr CompressionGroup kCompressionGroups[] = {
    {"*.htm*", "\nCompressing HTML Files-(", CompressMarkupText},
    {"*.php*", "\nCompressing PHP Files-(", CompressMarkupText},
    {"*.css", "\nCompressing CSS Files-(", CompressStyleSheetText},
};

}  // namespace quorva
