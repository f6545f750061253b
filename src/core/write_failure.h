#pragma once

#include <string>

#include "platform/file_system.h"

namespace quorva {

// True when the file was written; false when the system refused it (read-only, no permission),
// which callers skip as they would a file they may not change. A failed write (a full disk, an
// input/output error) ends the run with a FatalError naming the file and the system's reason,
// so that no run reports success after losing a write.
bool CheckWrite(const WriteResult& result, const std::string& path);

// Replaces a file read as `old_bytes` with `new_bytes` through the crash-safe replace, checked
// as above. A file whose bytes stay the same is not written, so it keeps its time. True when
// the new bytes are on disk.
bool ReplaceChangedFile(FileSystem& fs, const std::string& path, const std::string& old_bytes,
                        const std::string& new_bytes);

}  // namespace quorva
