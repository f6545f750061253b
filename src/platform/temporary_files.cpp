#include "platform/temporary_files.h"

#include <atomic>

#include "platform/path.h"

namespace quorva {

std::string TemporaryPathBeside(const std::string& target, unsigned long process_id) {
  static std::atomic<unsigned> counter{0};
  PathParts parts = SplitPath(target);
  std::string name =
      ".quorva-" + std::to_string(process_id) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
  return MakePath(parts.drive, parts.folder, name, "");
}

void RemoveLeftoverTemporaryFiles(FileSystem& fs, const std::string& folder) {
  for (const std::string& name : fs.ListFolder(folder, kTemporaryFilePattern)) {
    fs.RemoveFile(MakePath("", folder, name, ""));
  }
}

}  // namespace quorva
