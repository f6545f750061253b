#include "platform/temporary_files.h"

#include <atomic>
#include <string_view>

#include "text/path.h"

namespace quorva {

namespace {

constexpr std::string_view kTemporaryPrefix = ".quorva-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// The end of the run of ASCII digits that starts at `start`.
std::size_t EndOfDigits(std::string_view text, std::size_t start) {
  while (start < text.size() && text[start] >= '0' && text[start] <= '9') {
    ++start;
  }
  return start;
}

// ".quorva-<digits>-<digits>.tmp", one or more ASCII digits in each place.
bool IsTemporaryFileName(std::string_view name) {
  if (name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix) {
    return false;
  }
  std::size_t process_end = EndOfDigits(name, kTemporaryPrefix.size());
  if (process_end == kTemporaryPrefix.size() || name.substr(process_end, 1) != "-") {
    return false;
  }
  std::size_t counter_end = EndOfDigits(name, process_end + 1);
  return counter_end > process_end + 1 && name.substr(counter_end) == kTemporarySuffix;
}

}  // namespace

std::string TemporaryPathBeside(const std::string& target, unsigned long process_id) {
  static std::atomic<unsigned> counter{0};
  return PathBeside(target, std::string(kTemporaryPrefix) + std::to_string(process_id) + "-" +
                                std::to_string(counter.fetch_add(1)) +
                                std::string(kTemporarySuffix));
}

void RemoveLeftoverTemporaryFiles(FileSystem& fs, const std::string& folder) {
  for (std::string_view name : fs.ListFolder(folder, "*")) {
    if (IsTemporaryFileName(name)) {
      fs.RemoveFile(MakePath("", folder, name, ""));
    }
  }
}

}  // namespace quorva
