#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "platform/file_system.h"

namespace quorva {

// Whether a path names a file as the disk spells it, only in other letter cases, or nothing.
enum class Presence { kFound, kOtherCase, kMissing };

// The names in the output folder and the folders below it, each folder listed once, looked up
// with and without letter case, so that a link in the wrong case is told on every platform.
class FolderListings {
 public:
  FolderListings(FileSystem& fs, std::string output_folder)
      : fs_(fs), output_folder_(std::move(output_folder)) {}

  // The names in a folder below the output folder ("" for the output folder itself).
  const std::unordered_set<std::string>& NamesIn(const std::string& folder);

  // Looks up a path below the output folder ("/" between folders), a folder at a time;
  // `on_disk` gets the path as the disk spells it.
  Presence Locate(const std::string& path, std::string& on_disk);

 private:
  struct Listing {
    std::unordered_set<std::string> names;
    std::unordered_map<std::string, std::string> by_folded;  // a name on disk for each fold
  };
  const Listing& ListFolderOnce(const std::string& folder);

  FileSystem& fs_;
  std::string output_folder_;
  std::unordered_map<std::string, Listing> listings_;
};

}  // namespace quorva
