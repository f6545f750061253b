// Fuzzes ReadPageTitle, which reads a page in blocks through the text-mode reader, against the
// title found in the page read whole: the same text must come out, also when a CR LF pair, a
// byte 26 or the title straddles the reader's first block boundary.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/page_title.h"
#include "fakes/memory_file_system.h"
#include "fuzz_property.h"
#include "text/text_mode.h"
#include "text/wildcard.h"

namespace quorva {
namespace {

// The block size of the text-mode reader.
constexpr std::size_t kReaderBlock = 4096;

// The title as the whole page, read as text, holds it: after the first "<title>" up to the next
// "<", at most `limit` characters.
std::string TitleOfWholePage(const std::string& bytes, std::size_t limit) {
  const std::string text(UpToFirstNul(DecodeTextMode(bytes)));
  const std::size_t tag = FoldAsciiCase(text).find("<title>");
  if (tag == std::string::npos) {
    return std::string();
  }
  const std::string rest = text.substr(tag + 7);
  return rest.substr(0, std::min(rest.find('<'), limit));
}

// A smaller limit is checked on the page as given, where it is cheap to read twice.
void CheckTitle(const std::string& bytes, std::optional<std::size_t> small_limit) {
  MemoryFileSystem fs;
  fs.AddFile("help/page.htm", bytes);
  std::optional<std::string> title = ReadPageTitle(fs, "help/page.htm");
  RequireProperty(title.has_value(), "an existing page has a title, maybe empty");
  RequireProperty(title->size() <= kPageTitleLimit, "a title is cut at its limit");
  RequireProperty(*title == TitleOfWholePage(bytes, kPageTitleLimit),
                  "the title read in blocks is the title of the page read whole");
  RequireProperty(title->empty() || FoldAsciiCase(bytes).find("<title>") != std::string::npos,
                  "only a page with a <title> tag has a title");
  if (small_limit) {
    std::optional<std::string> short_title = ReadPageTitle(fs, "help/page.htm", *small_limit);
    RequireProperty(short_title == title->substr(0, *small_limit),
                    "a smaller limit cuts the same title shorter");
  }
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  if (size == 0) {
    return 0;
  }
  const std::size_t small_limit = data[0] % 16;
  const std::string page(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckTitle(page, small_limit);
  // A filler of plain letters moves the page's first bytes up to the end of the first block.
  CheckTitle(std::string(kReaderBlock - 1 - data[0] % 32, 'x') + page, std::nullopt);
  return 0;
}
