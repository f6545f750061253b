#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "passes/check/page_scan.h"

namespace quorva {

// A link or marker as it stands in a page, and where: its offset, and its 1-based line and
// column (in bytes from the line's start).
struct PlacedText {
  std::string text;
  std::size_t offset = 0;
  std::size_t line = 1;
  std::size_t column = 1;
  bool href = false;      // a link of an href attribute
  bool toc_form = false;  // written as the TOC walks read links
};

// What the check needs of one page, without the page's text.
struct PageDigest {
  std::vector<PlacedText> links;
  std::vector<PlacedText> markers;
  std::vector<std::string> anchors;  // sorted
  bool has_base = false;
  // A markup page's first <title> ("<title>" at its place), if any, and whether it holds text.
  std::optional<PlacedText> title;
  bool title_has_text = false;
  // Elements at their "<", each with the link it names.
  std::vector<PlacedText> pictures_without_alt;
  std::vector<PlacedText> frames_without_title;
  bool open_at_end = false;     // see PageScan
  std::size_t repeats_met = 0;  // see PageScan
};

// Places texts found at increasing offsets of a page, counting line breaks once.
class Placer {
 public:
  explicit Placer(std::string_view text) : text_(text), next_line_break_(text.find('\n')) {}
  PlacedText Place(std::size_t offset, std::string_view found);
  PlacedText PlaceLink(const PageLink& link);

 private:
  std::string_view text_;
  std::size_t next_line_break_;
  std::size_t line_ = 1;
  std::size_t line_start_ = 0;
};

// The pages the check reads: *.htm*, *.php* and *.css.
bool IsCheckedPageName(std::string_view name);

// The digest of a page named `name`: a style sheet's url(...) values, or a markup page's links,
// anchors and markers. With `visit_link`, the links go there as they stand instead, one at a
// time, for a reader that places only those it keeps (a menu gives a page a link for every
// topic). `repeated`: see ScanMarkup.
PageDigest DigestPage(std::string_view name, std::string_view bytes,
                      const LinkVisitor* visit_link = nullptr,
                      const TextSignature* repeated = nullptr);
// Whether a page named `name` is read as markup.
bool IsMarkupName(std::string_view name);
// The digest of bytes read as markup, whatever the file's name.
PageDigest DigestMarkup(std::string_view bytes);

}  // namespace quorva
