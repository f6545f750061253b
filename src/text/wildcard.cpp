#include "text/wildcard.h"

#include <algorithm>

namespace quorva {

std::string FoldAsciiCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    c = FoldAsciiCase(c);
  }
  return folded;
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  // Greedy match with backtracking to the last star: linear in practice, no recursion.
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::string_view::npos;
  std::size_t star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_n = n;
    } else if (p < pattern.size() && FoldAsciiCase(pattern[p]) == FoldAsciiCase(name[n])) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

bool NameLessWithoutCase(std::string_view a, std::string_view b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    auto fa = static_cast<unsigned char>(FoldAsciiCase(a[i]));
    auto fb = static_cast<unsigned char>(FoldAsciiCase(b[i]));
    if (fa != fb) {
      return fa < fb;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size();
  }
  return a < b;
}

}  // namespace quorva
