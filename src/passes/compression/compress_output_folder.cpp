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

// True when no group after `group` takes a file of that name: a name in two groups is
// compressed twice.
bool IsInNoGroupAfter(const CompressionGroup* group, std::string_view name) {
  for (const CompressionGroup* later = group + 1; later != std::end(kCompressionGroups); ++later) {
    if (MatchesWildcard(name, later->pattern)) {
      return false;
    }
  }
  return true;
}

}  // namespace

void CompressOutputFolder(RunContext& run, const std::string& toc_page_path) {
  FileSystem& fs = run.fs;
  Console& console = run.console;
  if (!run.settings.compression || !fs.IsReadable(toc_page_path)) {
    return;
  }
  PathParts toc_page = SplitPath(toc_page_path);
  // Compressing creates and removes no file of any group, so one listing serves them all. It is
  // sorted, so each group's names come out of it in order without a copy of their own.
  const FolderNames folder = fs.ListFolder(toc_page.drive + toc_page.folder, "*");
  for (const CompressionGroup& group : kCompressionGroups) {
    bool listed = false;
    for (std::string_view name : folder) {
      if (!MatchesWildcard(name, group.pattern)) {
        continue;
      }
      std::string shown;
      CopyBounded(shown, name, kShownNameSize);
      console.Write(listed ? ", " : group.heading);
      console.Write(shown);
      listed = true;
      // An entry that cannot be read, a folder say, is listed and left alone.
      std::string path = MakePath(toc_page.drive, toc_page.folder, name, "");
      if (!run.pages.IsFinished(path)) {
        RewriteFile(run, path, group.compress, IsInNoGroupAfter(&group, name));
      }
    }
    if (listed) {
      console.Write(")\n");
    }
  }
}

}  // namespace quorva
