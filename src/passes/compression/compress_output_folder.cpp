#include "passes/compression/compress_output_folder.h"

#include <cstddef>
#include <vector>

#include "core/compression_groups.h"
#include "passes/compression/rewrite_file.h"
#include "text/path.h"
#include "text/text_utils.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// Room for a shown file name, terminator counted.
constexpr std::size_t kShownNameSize = 260;

}  // namespace

void CompressOutputFolder(RunContext& run, const std::string& toc_page_path) {
  FileSystem& fs = run.fs;
  Console& console = run.console;
  if (!run.settings.compression || !fs.IsReadable(toc_page_path)) {
    return;
  }
  PathParts toc_page = SplitPath(toc_page_path);
  // Compressing creates and removes no file of any group, so one listing serves them all.
  const std::vector<std::string> folder = fs.ListFolder(toc_page.drive + toc_page.folder, "*");
  for (const CompressionGroup& group : kCompressionGroups) {
    std::vector<std::string> names = SelectAndSortNames(folder, group.pattern);
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::string shown;
      CopyBounded(shown, names[i], kShownNameSize);
      console.Write(i == 0 ? group.heading : ", ");
      console.Write(shown);
      // An entry that cannot be read, a folder say, is listed and left alone.
      std::string path = MakePath(toc_page.drive, toc_page.folder, names[i], "");
      if (!run.pages.IsFinished(path)) {
        RewriteFile(run, path, group.compress);
      }
    }
    if (!names.empty()) {
      console.Write(")\n");
    }
  }
}

}  // namespace quorva
