#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// Appends a code point in UTF-8; one that is none (0, a surrogate, above U+10FFFF) as U+FFFD.
void AppendUtf8(std::string& out, std::uint32_t code);

// `bytes` as valid UTF-8: valid sequences kept, every other byte taken as the Latin-1 character
// of its value.
std::string MakeValidUtf8(std::string_view bytes);

// The code points of valid UTF-8; nothing when any byte is not part of a valid sequence.
std::optional<std::vector<std::uint32_t>> DecodeUtf8(std::string_view bytes);

}  // namespace quorva
