#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// A link as it stands in a page: the offset of its value's first byte and the value, undecoded.
struct PageLink {
  std::size_t offset = 0;
  std::string_view value;
};

// One of the tool's markers left in a page, as it stands.
struct MarkerHit {
  std::size_t offset = 0;
  std::string_view marker;
};

// What the check needs of one page.
struct PageScan {
  std::vector<PageLink> links;
  // The names a fragment may name (id attributes, <a name=...>), character references decoded,
  // sorted.
  std::vector<std::string> anchors;
  std::vector<MarkerHit> markers;
  // A <base href=...> changes what every relative link names.
  bool has_base = false;
};

// The href and src attributes of every element and the url(...) values of style attributes and
// style elements, outside comments, processing instructions and script contents; the anchors;
// and every marker, wherever it stands, since the rewriting replaces them anywhere.
PageScan ScanMarkup(std::string_view text);

// The url(...) values of a style sheet, outside its comments.
PageScan ScanStyleSheet(std::string_view text);

// Replaces character references (&amp;, &#38;, &#x26; and the common named ones) with the
// characters they stand for, in UTF-8; any other "&" stays.
std::string DecodeCharacterReferences(std::string_view text);

}  // namespace quorva
