#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// Folds A-Z to a-z and leaves every other byte as it is; inline, since name comparisons and
// marker checks call it for every byte.
inline char FoldAsciiCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
std::string FoldAsciiCase(std::string_view text);

// "*" stands for any run of characters; letters match without regard to case.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// Orders names with letters compared without case, then by their bytes, so listings come out
// in the same order on every platform.
bool NameLessWithoutCase(std::string_view a, std::string_view b);

}  // namespace quorva
