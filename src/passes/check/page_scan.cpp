#include "passes/check/page_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/byte_finder.h"
#include "text/text_utils.h"
#include "text/utf8.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// What ends a run of bytes inside a tag, a byte's bits looked up at once: the scan goes through
// every tag name and attribute byte by byte.
enum TagByte : unsigned char {
  kSpace = 1,          // HTML white space
  kEndsTagName = 2,    // white space, ">" or "/"
  kEndsName = 4,       // an attribute's name: white space, "=", ">" or "/"
  kEndsValue = 8,      // an unquoted value: white space or ">"
  kBetweenNames = 16,  // skipped before an attribute: white space or "/"
};

constexpr std::array<unsigned char, 256> ClassifyTagBytes() {
  std::array<unsigned char, 256> bits{};
  for (int c = 0; c < 256; ++c) {
    const bool space = IsAsciiWhiteSpace(static_cast<char>(c));
    bits[static_cast<std::size_t>(c)] = static_cast<unsigned char>(
        (space ? kSpace : 0) | (space || c == '>' || c == '/' ? kEndsTagName : 0) |
        (space || c == '=' || c == '>' || c == '/' ? kEndsName : 0) |
        (space || c == '>' ? kEndsValue : 0) | (space || c == '/' ? kBetweenNames : 0));
  }
  return bits;
}

constexpr std::array<unsigned char, 256> kTagBytes = ClassifyTagBytes();

bool Is(char c, TagByte kind) {
  return (kTagBytes[static_cast<unsigned char>(c)] & kind) != 0;
}

// True when `text` holds `word` (lowercase) at `position`, letters without case.
bool HoldsAt(std::string_view text, std::size_t position, std::string_view word) {
  if (text.size() - std::min(position, text.size()) < word.size()) {
    return false;
  }
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (FoldAsciiCase(text[position + i]) != word[i]) {
      return false;
    }
  }
  return true;
}

bool NameIs(std::string_view name, std::string_view word) {
  return name.size() == word.size() && HoldsAt(name, 0, word);
}

// The position of the first "<" + `word` (lowercase) from `from`, letters without case; the
// text's end when there is none.
std::size_t FindTagStart(std::string_view text, std::size_t from, std::string_view word) {
  for (std::size_t at = text.find('<', from); at != std::string_view::npos;
       at = text.find('<', at + 1)) {
    if (HoldsAt(text, at + 1, word)) {
      return at;
    }
  }
  return text.size();
}

// The position just past `end` from `from`; the text's end when it does not come, which sets
// `ran_out` where given.
std::size_t PastEnd(std::string_view text, std::size_t from, std::string_view end,
                    bool* ran_out = nullptr) {
  const std::size_t at = text.find(end, from);
  if (at == std::string_view::npos) {
    if (ran_out != nullptr) {
      *ran_out = true;
    }
    return text.size();
  }
  return at + end.size();
}

// Where the links a scan finds go: to a visitor, or into the scan.
struct Scanning {
  PageScan scan;
  const LinkVisitor* visit_link = nullptr;

  void AddLink(const PageLink& link) {
    if (visit_link != nullptr) {
      (*visit_link)(link);
    } else {
      scan.links.push_back(link);
    }
  }
};

// Adds the url(...) values of style text that starts at `base` in its page.
void AddStyleUrls(std::string_view style, std::size_t base, Scanning& scanning) {
  for (std::size_t i = 0; i < style.size(); ++i) {
    if (style[i] == '/' && i + 1 < style.size() && style[i + 1] == '*') {
      i = PastEnd(style, i + 2, "*/") - 1;
      continue;
    }
    if ((style[i] != 'u' && style[i] != 'U') || !HoldsAt(style, i, "url(")) {
      continue;
    }
    std::size_t start = i + 4;
    while (start < style.size() && IsAsciiWhiteSpace(style[start])) {
      ++start;
    }
    std::size_t end;
    if (start < style.size() && (style[start] == '"' || style[start] == '\'')) {
      const char quote = style[start++];
      end = std::min(style.find(quote, start), style.size());
    } else {
      end = std::min(style.find(')', start), style.size());
      while (end > start && IsAsciiWhiteSpace(style[end - 1])) {
        --end;
      }
    }
    scanning.AddLink(PageLink{base + start, style.substr(start, end - start)});
    i = end;
  }
}

// The length of the marker at `position` (a "<"), or 0 where none stands.
std::size_t MarkerLengthAt(std::string_view text, std::size_t position) {
  // The letter after the "<" tells which marker it can be, if any.
  switch (position + 1 < text.size() ? FoldAsciiCase(text[position + 1]) : '\0') {
    case 'b':
      return HoldsAt(text, position, "<bread>") ? 7 : 0;
    case 'm':
      return HoldsAt(text, position, "<menu>") ? 6 : 0;
    case 'f':
      return HoldsAt(text, position, "<filename>") ? 10 : 0;
    case 'p':
      return HoldsAt(text, position, "<panel") && position + 7 < text.size() &&
                     text[position + 6] >= '1' && text[position + 6] <= '9' &&
                     text[position + 7] == '>'
                 ? 8
                 : 0;
    default:
      return 0;
  }
}

// Takes a marker that starts at `at`, a "<". A marker that bytes after the text could finish
// needs no look of its own: a "<" and a letter without a ">" after them leave a tag, or
// whatever holds them, open at the end.
void TakeMarkerAt(std::string_view text, std::size_t at, PageScan& scan) {
  if (std::size_t length = MarkerLengthAt(text, at)) {
    scan.markers.push_back(MarkerHit{at, text.substr(at, length)});
  }
}

enum class TagKind {
  kScript,
  kStyle,
  kBase,
  kAnchor,
  kTitle,
  kImage,
  kArea,
  kInput,
  kFrame,
  kOther
};

TagKind KindOfTag(std::string_view name) {
  // By length first: most tags (p, td, span, div) are none of these.
  switch (name.size()) {
    case 1:
      return NameIs(name, "a") ? TagKind::kAnchor : TagKind::kOther;
    case 3:
      return NameIs(name, "img") ? TagKind::kImage : TagKind::kOther;
    case 4:
      return NameIs(name, "base")   ? TagKind::kBase
             : NameIs(name, "area") ? TagKind::kArea
                                    : TagKind::kOther;
    case 5:
      return NameIs(name, "style")   ? TagKind::kStyle
             : NameIs(name, "title") ? TagKind::kTitle
             : NameIs(name, "input") ? TagKind::kInput
             : NameIs(name, "frame") ? TagKind::kFrame
                                     : TagKind::kOther;
    case 6:
      return NameIs(name, "script")   ? TagKind::kScript
             : NameIs(name, "iframe") ? TagKind::kFrame
                                      : TagKind::kOther;
    default:
      return TagKind::kOther;
  }
}

// What a start tag says of itself, beyond its links.
struct TagFacts {
  bool has_alt = false;
  bool has_title = false;
  bool image_input = false;
  std::string_view link;  // src, or href for an area
};

// An attribute written without a value ("<img alt>") has the empty one.
void NoteTagFact(std::string_view name, std::string_view value, TagFacts& facts) {
  if (NameIs(name, "alt")) {
    facts.has_alt = true;
  } else if (NameIs(name, "title")) {
    facts.has_title = true;
  } else if (NameIs(name, "type")) {
    facts.image_input = NameIs(value, "image");
  }
}

void TakeAttribute(TagKind tag, std::string_view name, std::size_t value_offset,
                   std::string_view value, bool double_quoted, Scanning& scanning,
                   TagFacts& facts) {
  PageScan& scan = scanning.scan;
  NoteTagFact(name, value, facts);
  const bool href = NameIs(name, "href");
  if (href || NameIs(name, "src")) {
    if (href == (tag == TagKind::kArea)) {
      facts.link = value;
    }
    if (tag == TagKind::kBase) {
      scan.has_base = scan.has_base || href;
    } else {
      scanning.AddLink(PageLink{value_offset, value, href, double_quoted && name == "href"});
    }
  } else if (NameIs(name, "style")) {
    AddStyleUrls(value, value_offset, scanning);
  } else if (NameIs(name, "id") || (tag == TagKind::kAnchor && NameIs(name, "name"))) {
    scan.anchors.push_back(DecodeCharacterReferences(value));
  }
}

// Reads the attributes of a start tag from `position`, just past its name; returns the position
// past the tag's ">".
std::size_t ScanAttributes(std::string_view text, std::size_t position, TagKind tag,
                           Scanning& scanning, TagFacts& facts) {
  const std::size_t n = text.size();
  std::size_t j = position;
  while (true) {
    while (j < n && Is(text[j], kBetweenNames)) {
      ++j;
    }
    if (j >= n) {
      scanning.scan.open_at_end = true;
      return n;
    }
    if (text[j] == '>') {
      return j + 1;
    }
    const std::size_t name_start = j;
    while (j < n && !Is(text[j], kEndsName)) {
      ++j;
    }
    const std::string_view name = text.substr(name_start, j - name_start);
    std::size_t k = j;
    while (k < n && Is(text[k], kSpace)) {
      ++k;
    }
    if (k >= n || text[k] != '=') {
      NoteTagFact(name, "", facts);
      j = std::max(j, name_start + 1);  // a stray "=" or an attribute without a value
      continue;
    }
    ++k;
    while (k < n && Is(text[k], kSpace)) {
      ++k;
    }
    std::size_t value_start = k;
    std::size_t value_end;
    const bool double_quoted = k < n && text[k] == '"';
    if (k < n && (text[k] == '"' || text[k] == '\'')) {
      value_start = k + 1;
      value_end = std::min(text.find(text[k], value_start), n);
      j = std::min(value_end + 1, n);
    } else {
      while (k < n && !Is(text[k], kEndsValue)) {
        ++k;
      }
      value_end = k;
      j = k;
    }
    TakeAttribute(tag, name, value_start, text.substr(value_start, value_end - value_start),
                  double_quoted, scanning, facts);
  }
}

// Decodes the reference at `position` (an "&") into `out`; returns its length, 0 when none.
std::size_t DecodeReferenceAt(std::string_view text, std::size_t position, std::string& out) {
  std::size_t i = position + 1;
  if (i < text.size() && text[i] == '#') {
    const bool hex = i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
    i += hex ? 2 : 1;
    const std::size_t digits_start = i;
    std::uint32_t code = 0;
    for (; i < text.size() && i - digits_start < 8; ++i) {
      const char c = FoldAsciiCase(text[i]);
      int digit =
          c >= '0' && c <= '9' ? c - '0' : (hex && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1);
      if (digit < 0) {
        break;
      }
      code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (i == digits_start) {
      return 0;
    }
    AppendUtf8(out, code);
    return (i < text.size() && text[i] == ';' ? i + 1 : i) - position;
  }
  static const struct {
    std::string_view name;
    std::uint32_t code;
  } kNamed[] = {{"amp;", '&'},  {"lt;", '<'},    {"gt;", '>'},
                {"quot;", '"'}, {"apos;", '\''}, {"nbsp;", 0xA0}};
  for (const auto& named : kNamed) {
    if (text.substr(i, named.name.size()) == named.name) {
      AppendUtf8(out, named.code);
      return 1 + named.name.size();
    }
  }
  return 0;
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = text[i] == '&' ? DecodeReferenceAt(text, i, out) : 0;
    if (length == 0) {
      out += text[i];
      length = 1;
    }
    i += length;
  }
  return out;
}

PageScan ScanMarkup(std::string_view text, const LinkVisitor* visit_link,
                    const TextSignature* repeated) {
  Scanning scanning{PageScan{}, visit_link};
  PageScan& scan = scanning.scan;
  const std::size_t n = text.size();
  scan.title_offset = n;
  // Where a search for an end runs out of text, what follows the text decides.
  auto up_to = [&](std::size_t end) {
    scan.open_at_end = scan.open_at_end || end == n;
    return end;
  };
  ByteFinder less(text, '<');
  ByteFinder greater(text, '>');
  // Markers count wherever they stand: every "<" from where a tag, a comment or the like starts
  // to where the scan goes on may begin one.
  std::size_t start = 0;
  auto go_on_from = [&](std::size_t end) {
    std::size_t at = start < end ? start : less.Next(end);
    while (at < end) {
      TakeMarkerAt(text, at, scan);
      at = less.Next(at + 1);  // past `end`, the next tag's
    }
    return at;
  };
  for (std::size_t i = less.Next(0); i < n; i = go_on_from(i)) {
    start = i;
    if (repeated != nullptr && repeated->Size() <= n - i && repeated->StandsAt(text, i)) {
      ++scan.repeats_met;
      i += repeated->Size();
      start = i;  // the scan of the text on its own found no marker
      continue;
    }
    const char next = i + 1 < n ? text[i + 1] : '\0';
    if (next == '!' && HoldsAt(text, i, "<!--")) {
      i = PastEnd(text, i + 4, "-->", &scan.open_at_end);
      continue;
    }
    if (next == '?') {
      i = PastEnd(text, i + 2, "?>", &scan.open_at_end);
      continue;
    }
    if (next == '!' || next == '/') {
      // An end tag's ">" mostly comes within a few bytes.
      std::size_t end = i + 2;
      while (end < n && end < i + 18 && text[end] != '>') {
        ++end;
      }
      i = up_to(end < n && text[end] != '>' ? greater.Next(end) : end);
      i += i < n ? 1 : 0;
      continue;
    }
    if (!IsAsciiLetter(next)) {
      up_to(i + 1);  // a "<" last of all
      ++i;
      continue;
    }
    std::size_t name_end = i + 1;
    while (name_end < n && !Is(text[name_end], kEndsTagName)) {
      ++name_end;
    }
    const std::size_t tag_start = i;
    const TagKind tag = KindOfTag(text.substr(i + 1, name_end - i - 1));
    TagFacts facts;
    i = ScanAttributes(text, name_end, tag, scanning, facts);
    const bool picture = tag == TagKind::kImage || tag == TagKind::kArea ||
                         (tag == TagKind::kInput && facts.image_input);
    // An element without a link is named by its tag as it stands ("<img").
    const std::string_view named =
        facts.link.empty() ? text.substr(tag_start, name_end - tag_start) : facts.link;
    if (picture && !facts.has_alt) {
      scan.pictures_without_alt.push_back(ElementHit{tag_start, named});
    } else if (tag == TagKind::kFrame && !facts.has_title) {
      scan.frames_without_title.push_back(ElementHit{tag_start, named});
    } else if (tag == TagKind::kTitle && scan.title_offset == n) {
      scan.title_offset = tag_start;
      const std::string_view title = text.substr(i, up_to(FindTagStart(text, i, "/title")) - i);
      scan.title_has_text = !IsBlank(title);
    }
    if (tag == TagKind::kScript) {
      i = up_to(FindTagStart(text, i, "/script"));
    } else if (tag == TagKind::kStyle) {
      const std::size_t end = up_to(FindTagStart(text, i, "/style"));
      AddStyleUrls(text.substr(i, end - i), i, scanning);
      i = end;
    }
  }
  std::sort(scan.anchors.begin(), scan.anchors.end());
  return std::move(scan);
}

PageScan ScanStyleSheet(std::string_view text, const LinkVisitor* visit_link) {
  Scanning scanning{PageScan{}, visit_link};
  AddStyleUrls(text, 0, scanning);
  return std::move(scanning.scan);
}

}  // namespace quorva
