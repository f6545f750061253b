#pragma once

#include <string>

#include "core/compression_groups.h"
#include "platform/file_system.h"

namespace quorva {

// Reads the file's bytes as they are, compresses them and replaces the file with the result.
// Returns false when the file cannot be read (missing, or a folder), which leaves it alone; a
// file the system refuses to write keeps its old content. Running out of memory or a failed
// write is a FatalError.
bool RewriteFile(FileSystem& fs, const std::string& path, TextCompressor compress);

}  // namespace quorva
