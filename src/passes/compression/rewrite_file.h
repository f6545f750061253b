#pragma once

#include <string>

#include "core/compression_groups.h"
#include "core/run_context.h"

namespace quorva {

// Reads the file's bytes as they are, compresses them and replaces the file with the result.
// Returns false when the file cannot be read (missing, a folder, a pipe), which leaves it alone;
// a file the system refuses to write, or a link out of the output folder, keeps its old content.
// Running out of memory or a failed write is a FatalError. `last`: no later group rewrites the
// file, so no pass reads it again.
bool RewriteFile(RunContext& run, const std::string& path, TextCompressor compress, bool last);

}  // namespace quorva
