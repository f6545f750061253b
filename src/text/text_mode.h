#pragma once

#include <string>
#include <string_view>

namespace quorva {

// The tool's own text mode, the same bytes on every platform: reading turns CR LF into LF,
// writing turns LF into CR LF.

constexpr char kTextEnd = 26;

enum class TextEnd {
  kAtByte26,   // a byte 26 ends the text, as classic text-mode reads do
  kKeepBytes,  // every byte is kept; used where a rewrite must not lose the file's tail
};

std::string DecodeTextMode(std::string_view bytes, TextEnd end = TextEnd::kAtByte26);
std::string EncodeTextMode(std::string_view text);

// Cuts a text at its first NUL, where a NUL-terminated setting text ends.
std::string_view UpToFirstNul(std::string_view text);

}  // namespace quorva
