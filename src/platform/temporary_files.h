#pragma once

#include <string>

#include "platform/file_system.h"

namespace quorva {

// Every file the tool writes goes first to a temporary file beside it, ".quorva-<process>-<n>
// .tmp", which is then renamed over it. The name never contains ".htm", ".php" or ".css", so a
// file left behind by a killed run is never taken for a page by a listing.
inline constexpr char kTemporaryFilePattern[] = ".quorva-*.tmp";

std::string TemporaryPathBeside(const std::string& target, unsigned long process_id);

// Removes the temporary files that killed runs left in a folder.
void RemoveLeftoverTemporaryFiles(FileSystem& fs, const std::string& folder);

}  // namespace quorva
