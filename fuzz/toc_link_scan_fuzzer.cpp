// Fuzzes the two link scanners of a TOC page: the href file-name scan of the index frame and
// breadcrumb walks (over the page as ReadTocPage gives it) and the menu walk's link scan.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/toc_page.h"
#include "fakes/memory_file_system.h"
#include "fuzz_property.h"
#include "passes/menu/menu_walk.h"
#include "text/wildcard.h"

namespace quorva {
namespace {

bool IsLetterDigitOrUnderscore(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The scan loop of the walks, with every name checked against where it was found.
std::vector<std::string> ScanHrefNames(std::string_view text, std::size_t name_limit) {
  std::vector<std::string> names;
  std::string name;
  for (std::size_t position = 4; position < text.size(); ++position) {
    const std::size_t start = position;
    if (!ScanHrefFileName(text, name, position, name_limit)) {
      RequireProperty(position == start || position == text.size(),
                      "a failed href scan stays put or stops at the end");
      continue;
    }
    RequireProperty(text.compare(start - 3, 4, "href") == 0, "a name follows a lowercase href");
    RequireProperty(!name.empty() && name.size() <= name_limit, "a name holds 1 to limit bytes");
    RequireProperty(IsLetterDigitOrUnderscore(name[0]), "a name starts with a letter or digit");
    for (char c : name) {
      RequireProperty(IsLetterDigitOrUnderscore(c) || c == '.',
                      "a name holds letters, digits, underscores and full stops only");
    }
    const std::size_t name_start = position - name.size();
    RequireProperty(position <= text.size() && name_start > start &&
                        text.compare(name_start, name.size(), name) == 0,
                    "a name ends where the scan stops");
    RequireProperty(text.substr(start, name_start - start).find('"') != std::string_view::npos,
                    "a name comes after a double quote");
    names.push_back(name);
  }
  return names;
}

void CheckHrefScan(std::string_view text, std::size_t small_limit) {
  std::vector<std::string> listed;
  ScanTocPageLinks(text, [&listed](const std::string& name) { listed.push_back(name); });
  RequireProperty(listed == ScanHrefNames(text, kLinkNameLimit),
                  "ScanTocPageLinks yields the names of the scan loop");
  ScanHrefNames(text, small_limit);
}

// The menu walk's first pass: a link, and after a TOC page link the book's topic link.
void CheckMenuLinkScan(std::string_view body) {
  const std::string folded = FoldAsciiCase(body);
  std::string target;
  std::string link_text;
  for (std::size_t position = 0; position < body.size(); ++position) {
    const std::size_t start = position;
    if (!ScanMenuLink(body, target, link_text, position)) {
      RequireProperty(position >= body.size(), "a failed menu link scan ends the page");
      continue;
    }
    RequireProperty(position > start, "a menu link scan moves on");
    const std::size_t href = folded.find("href", start < 3 ? 0 : start - 3);
    RequireProperty(href != std::string::npos && href + 3 < position,
                    "a menu link has an href in any letter case");
    for (const std::string* text : {&target, &link_text}) {
      RequireProperty(text->size() <= kMenuLinkLimit, "a menu link text is cut at the limit");
      RequireProperty(text->empty() || (text->front() != ' ' && text->back() != ' '),
                      "a menu link text is trimmed");
      RequireProperty(body.substr(start, position - start).find(*text) != std::string_view::npos,
                      "a menu link text stands in the scanned part of the page");
    }
    RequireProperty(target.find('"') == std::string::npos, "a target holds no double quote");
    RequireProperty(link_text.find('<') == std::string::npos, "a link text holds no tag");
    if (IsTocPageName(target)) {
      ++position;
      ScanMenuLink(body, target, link_text, position);
    }
  }
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemoryFileSystem fs;
  fs.AddFile("help/toc.htm", bytes);
  std::optional<std::string> page = ReadTocPage(fs, "help/toc.htm");
  RequireProperty(page.has_value(), "an existing TOC page is read");
  RequireProperty(page->find('\0') == std::string::npos && page->find('\x1a') == std::string::npos,
                  "a TOC page text ends at its first NUL or byte 26");
  RequireProperty(page->size() <= size, "a TOC page text is no longer than its file");
  const std::size_t small_limit = size == 0 ? 1 : 1 + data[0] % 8;
  CheckHrefScan(*page, small_limit);
  CheckMenuLinkScan(*page);
  return 0;
}
