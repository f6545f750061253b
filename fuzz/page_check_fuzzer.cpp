// Fuzzes what the check takes from a page (DigestPage over ScanMarkup or ScanStyleSheet), how it
// resolves each link (ResolveLink) and how the reports write any bytes as text (MakeValidUtf8):
// every link and marker stands in the page at the line and column given, links come in page order,
// a checked path has no "." or ".." left, and the text written is valid UTF-8 that keeps valid
// UTF-8 as it is. A text the scan found closed at its end, passed over where it stands whole in
// a page (as the check passes over the menu in a topic), leaves the page's scan as it would be
// without it, less the text's own links and markers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_property.h"
#include "passes/check/link_target.h"
#include "passes/check/page_digest.h"
#include "passes/check/page_scan.h"
#include "text/utf8.h"

namespace quorva {
namespace {

// UTF-8 as the standard has it: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      low = lead == 0xE0 ? 0xA0 : 0x80;
      high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      low = lead == 0xF0 ? 0x90 : 0x80;
      high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || i + length > text.size()) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

// True when every folder of a checked path is a real name: none empty, "." or "..".
bool HasOnlyNamedSegments(const std::string& path) {
  if (path.empty()) {
    return true;
  }
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string segment = path.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") {
      return false;
    }
    start = end + 1;
  }
  return true;
}

void CheckPlaced(const std::string& page, const PlacedText& placed, std::size_t& last_offset) {
  RequireProperty(placed.offset + placed.text.size() <= page.size(), "a text lies in its page");
  RequireProperty(page.compare(placed.offset, placed.text.size(), placed.text) == 0,
                  "a text stands in the page at its offset");
  RequireProperty(placed.offset >= last_offset, "texts come in page order");
  last_offset = placed.offset;
  const std::size_t breaks = static_cast<std::size_t>(
      std::count(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(placed.offset), '\n'));
  RequireProperty(placed.line == breaks + 1, "the line counts the line breaks before the text");
  const std::size_t line_start = placed.offset == 0 ? 0 : page.rfind('\n', placed.offset - 1) + 1;
  RequireProperty(placed.column == placed.offset - line_start + 1,
                  "the column counts the bytes from the line's start");
}

void CheckPage(const std::string& name, const std::string& page) {
  const PageDigest digest = DigestPage(name, page);
  std::size_t last_offset = 0;
  for (const PlacedText& link : digest.links) {
    CheckPlaced(page, link, last_offset);
    const LinkTarget target = ResolveLink(link.text);
    RequireProperty(target.scope != LinkScope::kChecked || HasOnlyNamedSegments(target.path),
                    "a checked path has no empty folder, . or .. left");
  }
  last_offset = 0;
  for (const PlacedText& marker : digest.markers) {
    CheckPlaced(page, marker, last_offset);
    RequireProperty(marker.text.front() == '<' && marker.text.back() == '>', "a marker is a tag");
  }
  RequireProperty(std::is_sorted(digest.anchors.begin(), digest.anchors.end()),
                  "anchors are sorted for their lookup");
}

// The first half of the input, after a "<", as a repeated text, and the page it stands in once
// after the second half and once before it.
void CheckRepeatedText(const std::string& bytes) {
  const std::string repeated = "<" + bytes.substr(0, bytes.size() / 2);
  const PageScan own = ScanMarkup(repeated);
  if (own.open_at_end || !own.markers.empty() || !own.anchors.empty() || own.has_base ||
      own.title_offset < repeated.size() || !own.pictures_without_alt.empty() ||
      !own.frames_without_title.empty()) {
    return;  // the check reads such a text in full wherever it stands
  }
  const std::string rest = bytes.substr(bytes.size() / 2);
  const std::string page = rest + "<p>" + repeated + rest;
  const std::size_t begin = rest.size() + 3;
  const TextSignature signature(repeated);
  const PageScan whole = ScanMarkup(page);
  const PageScan passed = ScanMarkup(page, nullptr, &signature);
  if (passed.repeats_met != 1) {
    return;  // not where a tag may start, or in the rest too
  }
  // What the whole scan finds inside the text is the text's own scan, moved to its place.
  std::size_t inside = 0;
  for (std::size_t i = 0, j = 0; i < whole.links.size(); ++i) {
    const PageLink& link = whole.links[i];
    if (link.offset >= begin && link.offset < begin + repeated.size()) {
      RequireProperty(inside < own.links.size() && own.links[inside].offset + begin == link.offset,
                      "the text's links are those of its own scan");
      ++inside;
      continue;
    }
    RequireProperty(j < passed.links.size() && passed.links[j].offset == link.offset &&
                        passed.links[j].value == link.value,
                    "the links outside the text are found as without it");
    ++j;
  }
  RequireProperty(inside == own.links.size() && passed.links.size() + inside == whole.links.size(),
                  "passing over the text drops its links and no others");
  RequireProperty(passed.markers.size() == whole.markers.size() &&
                      passed.anchors == whole.anchors &&
                      passed.pictures_without_alt.size() == whole.pictures_without_alt.size() &&
                      passed.frames_without_title.size() == whole.frames_without_title.size(),
                  "what stands outside the text is found as without it");
  RequireProperty(passed.open_at_end == whole.open_at_end && passed.has_base == whole.has_base &&
                      passed.title_offset == whole.title_offset &&
                      passed.title_has_text == whole.title_has_text,
                  "the page's scan is the same outside the text");
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckPage("page.htm", bytes);
  CheckPage("style.css", bytes);
  CheckRepeatedText(bytes);
  const std::string text = MakeValidUtf8(bytes);
  RequireProperty(IsValidUtf8(text), "report text is valid UTF-8");
  RequireProperty(!IsValidUtf8(bytes) || text == bytes, "valid UTF-8 is written as it is");
  return 0;
}
