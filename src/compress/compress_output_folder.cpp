#include "compress/compress_output_folder.h"

#include <cstddef>
#include <vector>

#include "compress/markup_compressor.h"
#include "compress/style_sheet_compressor.h"
#include "driver/text_utils.h"
#include "platform/path.h"

namespace quorva {

namespace {

// Room for a shown file name, terminator counted.
constexpr std::size_t kShownNameSize = 260;

struct FileGroup {
  const char* pattern;
  const char* heading;
  bool (*compress)(FileSystem& fs, const std::string& path);
};

constexpr FileGroup kFileGroups[] = {
    {"*.htm*", "\nCompressing HTML Files-(", CompressMarkupFile},
    {"*.php*", "\nCompressing PHP Files-(", CompressMarkupFile},
    {"*.css", "\nCompressing CSS Files-(", CompressStyleSheet},
};

}  // namespace

void CompressOutputFolder(FileSystem& fs, Console& console, const RunSettings& settings,
                          const std::string& toc_page_path) {
  if (!settings.compression || !fs.IsReadable(toc_page_path)) {
    return;
  }
  PathParts toc_page = SplitPath(toc_page_path);
  for (const FileGroup& group : kFileGroups) {
    std::vector<std::string> names = fs.ListFolder(toc_page.drive + toc_page.folder, group.pattern);
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::string shown;
      CopyBounded(shown, names[i], kShownNameSize);
      console.Write(i == 0 ? group.heading : ", ");
      console.Write(shown);
      // An entry that cannot be read, a folder say, is listed and left alone.
      group.compress(fs, MakePath(toc_page.drive, toc_page.folder, names[i], ""));
    }
    if (!names.empty()) {
      console.Write(")\n");
    }
  }
}

}  // namespace quorva
