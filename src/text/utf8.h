#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorva {

// Appends a code point in UTF-8; one that is none (0, a surrogate, above U+10FFFF) as U+FFFD.
void AppendUtf8(std::string& out, std::uint32_t code);

// `bytes` as valid UTF-8: valid sequences kept, every other byte taken as the Latin-1 character
// of its value.
std::string MakeValidUtf8(std::string_view bytes);

}  // namespace quorva
