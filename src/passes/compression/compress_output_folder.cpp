#include "passes/compression/compress_output_folder.h"

#include <cstddef>
#include <vector>

#include "text/markup_compressor.h"
#include "text/path.h"
#include "text/style_sheet_compressor.h"
#include "text/text_utils.h"
#include "text/wildcard.h"

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

bool CompressAtLastRewrite(const RunSettings& settings, std::string_view file_name,
                           std::string& text) {
  if (!settings.compression) {
    return false;
  }
  // A name in two groups is compressed twice by the pass; such files are left to it.
  int groups = 0;
  for (const FileGroup& group : kFileGroups) {
    groups += MatchesWildcard(file_name, group.pattern);
  }
  if (groups != 1 || MatchesWildcard(file_name, "*.css")) {
    return false;
  }
  text = CompressMarkupText(text);
  return true;
}

void CompressOutputFolder(RunContext& run, const std::string& toc_page_path) {
  FileSystem& fs = run.fs;
  Console& console = run.console;
  if (!run.settings.compression || !fs.IsReadable(toc_page_path)) {
    return;
  }
  PathParts toc_page = SplitPath(toc_page_path);
  // Compressing creates and removes no file of any group, so one listing serves them all.
  const std::vector<std::string> folder = fs.ListFolder(toc_page.drive + toc_page.folder, "*");
  for (const FileGroup& group : kFileGroups) {
    std::vector<std::string> names = SelectAndSortNames(folder, group.pattern);
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::string shown;
      CopyBounded(shown, names[i], kShownNameSize);
      console.Write(i == 0 ? group.heading : ", ");
      console.Write(shown);
      // An entry that cannot be read, a folder say, is listed and left alone.
      std::string path = MakePath(toc_page.drive, toc_page.folder, names[i], "");
      if (run.finished_files.count(path) == 0) {
        group.compress(fs, path);
      }
    }
    if (!names.empty()) {
      console.Write(")\n");
    }
  }
}

}  // namespace quorva
