#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "platform/file_system.h"

namespace quorva {

// The page titles a run has read. The menu, the index frame pages and the breadcrumb trails
// each name a topic by its title, so without it every topic would be opened three times for the
// same few bytes. A title is remembered only from a file that had settled (see FileStamp) and
// given only while the file's stamp is the one it had when the title was read, so a page
// changed since, under any name (through a symbolic link, say), is read afresh.
class PageTitleCache {
 public:
  explicit PageTitleCache(FileSystem& files) : files_(files) {}

  // What ReadPageTitle gives for `path`, read from the file only when it has changed.
  std::optional<std::string> Title(const std::string& path);

 private:
  struct Entry {
    FileStamp stamp;  // the file's stamp before its title was read
    std::string title;
  };

  FileSystem& files_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace quorva
