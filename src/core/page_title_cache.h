#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "text/string_table.h"

namespace quorva {

// The page titles a run has read. The menu, the index frame pages and the breadcrumb trails
// each name a topic by its title, so without it every topic would be opened three times for the
// same few bytes. A title is remembered only from a file that had settled (see FileStamp) and
// given only while the file's stamp is the one it had when the title was read, so a page
// changed since, under any name (through a symbolic link, say), is read afresh. The stamp is
// asked for again only once the run has replaced or removed some file since it was last found
// the same (see FileSystem::ReplacedSoFar): until then no page can have changed but by another
// program.
class PageTitleCache {
 public:
  // `paths`: the run's table of page paths, where the cache numbers the pages it knows.
  PageTitleCache(FileSystem& files, StringTable& paths) : files_(files), paths_(paths) {}

  // What ReadPageTitle gives for `path`, read from the file only when it has changed.
  std::optional<std::string> Title(const std::string& path);

  // Takes the title of the bytes the run has just written to `path`, for a file system that let
  // go of them (see FileSystem::ForgetWrittenBytes), where a title of the page was asked for.
  void Learn(const std::string& path, std::string_view bytes);

 private:
  // A title of a hundred thousand pages is kept in a few dozen bytes: the stamp as a 64-bit
  // digest (two stamps of one file that differ give the same digest once in 2^64), the title in
  // one buffer with the others.
  struct Entry {
    std::uint64_t stamp_digest = 0;
    std::uint32_t title_begin = 0;
    // The file system's count of replaced files when the stamp was last found the file's.
    std::uint32_t confirmed_at = 0;
    std::uint8_t title_size = 0;
    bool remembered = false;  // a title was once kept: the run asks for this page's
    bool held = false;        // the title is the page's as last found
  };

  void Remember(const std::string& path, const std::optional<FileStamp>& stamp,
                const std::string& title, std::optional<std::uint64_t> replaced);

  FileSystem& files_;
  StringTable& paths_;
  std::vector<Entry> entries_;  // by the path's number in paths_
  std::vector<char> titles_;
};

}  // namespace quorva
