#pragma once

#include <string>

#include "platform/file_system.h"

namespace quorva {

// Every file the tool writes goes first to a temporary file beside it, ".quorva-<process>-<n>
// .tmp", which is then renamed over it. The name never contains ".htm", ".php" or ".css", so a
// file left behind by a killed run is never taken for a page by a listing.
std::string TemporaryPathBeside(const std::string& target, unsigned long process_id);

// How many names a write tries for its temporary file. A name is taken only where a killed run
// whose process number came back left its file outside the folder the run cleans up (a menu
// page's folder, a symbolic link's target), so a few tries pass any such leftovers.
inline constexpr int kTemporaryNameTries = 16;

// Removes the temporary files that killed runs left in a folder: only names of exactly the form
// above, so that a user's file that merely starts alike stays.
void RemoveLeftoverTemporaryFiles(FileSystem& fs, const std::string& folder);

}  // namespace quorva
