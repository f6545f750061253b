#include "passes/check/link_target.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "passes/check/page_scan.h"
#include "text/path.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
        HexDigitValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A scheme is a letter, then letters, digits, "+", "-" or ".", then ":".
bool HasScheme(std::string_view link) {
  if (link.empty() || !((link[0] >= 'a' && link[0] <= 'z') || (link[0] >= 'A' && link[0] <= 'Z'))) {
    return false;
  }
  for (char c : link.substr(1)) {
    if (c == ':') {
      return true;
    }
    const bool letter_or_digit =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letter_or_digit && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return false;
}

// The bytes that make a link more than a file name: white space, references, escapes, paths,
// fragments, queries and schemes.
constexpr std::array<bool, 256> FindNotPlainBytes() {
  std::array<bool, 256> not_plain{};
  for (unsigned char c : std::string_view(" \t\n\r\f&%\\#?/:")) {
    not_plain[c] = true;
  }
  return not_plain;
}

constexpr std::array<bool, 256> kNotPlain = FindNotPlainBytes();

// A link that is a file name and nothing else, as most links of a help set are: nothing to
// decode, split or fold. Looked up a byte at a time: a page links dozens of pages.
bool IsPlainFileName(std::string_view value) {
  if (value.empty() || value == "." || value == "..") {
    return false;
  }
  return std::none_of(value.begin(), value.end(),
                      [](char c) { return kNotPlain[static_cast<unsigned char>(c)]; });
}

}  // namespace

LinkTarget ResolveLink(std::string_view value, std::string_view folder) {
  LinkTarget target;
  if (IsPlainFileName(value)) {
    target.scope = LinkScope::kChecked;
    target.path.assign(folder.data(), folder.size());
    target.path += folder.empty() ? "" : "/";
    target.path.append(value.data(), value.size());
    return target;
  }
  std::string link = DecodeCharacterReferences(value);
  std::size_t first = 0;
  std::size_t last = link.size();
  while (first < last && IsAsciiWhiteSpace(link[first])) {
    ++first;
  }
  while (last > first && IsAsciiWhiteSpace(link[last - 1])) {
    --last;
  }
  link = link.substr(first, last - first);
  for (char& c : link) {
    if (c == '\\') {
      c = '/';
    }
  }
  if (link.empty() || link[0] == '/' || HasScheme(link)) {
    return target;
  }
  std::string_view rest(link);
  const std::size_t hash = rest.find('#');
  if (hash != std::string_view::npos) {
    target.has_fragment = true;
    target.fragment = PercentDecode(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  rest = rest.substr(0, rest.find('?'));
  target.names_own_page = rest.empty();
  const std::optional<std::vector<std::string>> segments =
      FoldPathSegments(std::string(folder) + "/" + PercentDecode(rest));
  if (!segments) {
    return target;
  }
  target.path = JoinSegments(*segments);
  target.scope = LinkScope::kChecked;
  return target;
}

}  // namespace quorva
