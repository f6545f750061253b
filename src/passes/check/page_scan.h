#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_signature.h"

namespace quorva {

// A link as it stands in a page: the offset of its value's first byte and the value, undecoded.
struct PageLink {
  std::size_t offset = 0;
  std::string_view value;
  bool href = false;  // an href attribute, which is what a TOC walk reads
  // Written as the TOC walks read links: "href" in lower case, the value in double quotes.
  bool toc_form = false;
};

// An element the check reports on its own: its "<" and the link it names (src, or an area's
// href), or its tag as it stands ("<img") when it names none.
struct ElementHit {
  std::size_t offset = 0;
  std::string_view link;
};

// Takes a page's links one at a time, in the page's order.
using LinkVisitor = std::function<void(const PageLink&)>;

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
  // The first <title>'s "<", or the text's size where there is none; and whether it holds
  // anything but white space.
  std::size_t title_offset = 0;
  bool title_has_text = false;
  // <img>, <area> and <input type="image"> without an alt attribute.
  std::vector<ElementHit> pictures_without_alt;
  // <frame> and <iframe> without a title attribute.
  std::vector<ElementHit> frames_without_title;
  // Something open at the text's end (a tag, a comment, a script) that the bytes after it would
  // close: the same text found inside a page may read otherwise there.
  bool open_at_end = false;
  // How often the repeated text given to the scan stood where a tag may start; it was skipped.
  std::size_t repeats_met = 0;
};

// The href and src attributes of every element and the url(...) values of style attributes and
// style elements, outside comments, processing instructions and script contents; the anchors;
// and every marker, wherever it stands, since the rewriting replaces them anywhere. With
// `visit_link`, the links go there as they are found instead of into the scan: a page that took
// the drop-down menu holds a link for every topic. With `repeated`, a text already scanned on
// its own and found closed (not open_at_end), every place where it stands whole where a tag may
// start is counted and passed over: that scan told all it holds.
PageScan ScanMarkup(std::string_view text, const LinkVisitor* visit_link = nullptr,
                    const TextSignature* repeated = nullptr);

// The url(...) values of a style sheet, outside its comments.
PageScan ScanStyleSheet(std::string_view text, const LinkVisitor* visit_link = nullptr);

// Replaces character references (&amp;, &#38;, &#x26; and the common named ones) with the
// characters they stand for, in UTF-8; any other "&" stays.
std::string DecodeCharacterReferences(std::string_view text);

}  // namespace quorva
