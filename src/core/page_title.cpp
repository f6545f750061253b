#include "core/page_title.h"

#include <cstring>
#include <memory>
#include <string_view>

#include "core/text_reader.h"
#include "text/text_utils.h"

namespace quorva {

std::string ReadPageTitle(ByteReader& page, std::size_t limit) {
  TextModeReader text(page);
  // The page is a NUL-terminated text: a NUL byte ends it like the end of the file.
  auto next = [&text] {
    int c = text.Next();
    return c == 0 ? -1 : c;
  };
  constexpr std::string_view kTitleTag = "<title>";
  char recent[kTitleTag.size()] = {};  // the last seven characters scanned
  for (int c = next(); c != -1; c = next()) {
    std::memmove(recent, recent + 1, sizeof recent - 1);
    recent[sizeof recent - 1] = static_cast<char>(c);
    if (EndsWithWithoutCase(std::string_view(recent, sizeof recent), kTitleTag)) {
      std::string title;
      for (int t = next(); t != -1 && t != '<' && title.size() < limit; t = next()) {
        title += static_cast<char>(t);
      }
      return title;
    }
  }
  return std::string();
}

std::optional<std::string> ReadPageTitle(FileSystem& fs, const std::string& path,
                                         std::size_t limit) {
  std::unique_ptr<ByteReader> file = fs.OpenForReading(path);
  if (!file) {
    return std::nullopt;
  }
  return ReadPageTitle(*file, limit);
}

}  // namespace quorva
