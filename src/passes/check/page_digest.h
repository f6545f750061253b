#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
};

// The pages the check reads: *.htm*, *.php* and *.css.
bool IsCheckedPageName(std::string_view name);

// The digest of a page named `name`: a style sheet's url(...) values, or a markup page's links,
// anchors and markers.
PageDigest DigestPage(std::string_view name, std::string_view bytes);
// The digest of bytes read as markup, whatever the file's name.
PageDigest DigestMarkup(std::string_view bytes);

}  // namespace quorva
