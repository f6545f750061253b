#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorva {

// Removes space characters (code 32 only) at both ends.
void TrimSpaces(std::string& text);

// Bounded copy and append with the strlcpy/strlcat contract: `size` counts a terminator, so
// the destination holds at most size - 1 characters; the result is the length that was tried.
std::size_t CopyBounded(std::string& destination, std::string_view source, std::size_t size);
std::size_t AppendBounded(std::string& destination, std::string_view source, std::size_t size);

// The first `limit` characters of a text.
std::string_view CutTo(std::string_view text, std::size_t limit);

// Leading white space skipped, an optional sign, digits up to the first non-digit; no digits
// gives 0. Values beyond a 32-bit integer are held at its limits.
int ReadDecimalInteger(std::string_view text);

// True when `text` ends with `suffix`, letters A-Z compared without case.
bool EndsWithWithoutCase(std::string_view text, std::string_view suffix);

}  // namespace quorva
