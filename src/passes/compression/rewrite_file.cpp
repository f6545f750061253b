#include "passes/compression/rewrite_file.h"

#include <new>
#include <optional>

#include "core/fatal_error.h"

namespace quorva {

bool RewriteFile(RunContext& run, const std::string& path, TextCompressor compress, bool last) {
  try {
    std::optional<std::string> bytes = run.fs.ReadBinary(path);
    if (!bytes) {
      return false;
    }
    // The crash-safe replace: a killed run leaves each file either old or compressed. A file
    // whose bytes stay the same is not written, so it keeps its time.
    const std::string compressed = compress(*bytes);
    const auto reading = last ? CheckedWrites::Reading::kLetGo : CheckedWrites::Reading::kReadAgain;
    if (run.writes.ReplaceChanged(path, *bytes, compressed, reading) && last) {
      run.pages.LeaveFinal(path, compressed);
    }
  } catch (const std::bad_alloc&) {
    throw FatalError("Error: Out of memory");
  }
  return true;
}

}  // namespace quorva
