#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace quorva {

// A file system that remembers the page titles a run has read. The menu, the index frame pages
// and the breadcrumb trails each name a topic by its title, so without it every topic would be
// opened three times for the same few bytes. Every write and removal of the run goes through
// here and forgets what was read of that file, so a page the run has rewritten is read afresh.
class PageTitleCache final : public FileSystem {
 public:
  explicit PageTitleCache(FileSystem& files) : files_(files) {}

  // What ReadPageTitle gives for `path`, read from the file the first time only.
  std::optional<std::string> Title(const std::string& path);

  bool IsReadable(const std::string& path) override { return files_.IsReadable(path); }
  std::optional<std::uint64_t> FileLength(const std::string& path) override {
    return files_.FileLength(path);
  }
  std::unique_ptr<ByteReader> OpenForReading(const std::string& path) override {
    return files_.OpenForReading(path);
  }
  std::optional<std::string> ReadBinary(const std::string& path) override {
    return files_.ReadBinary(path);
  }
  bool WriteBinary(const std::string& path, std::string_view bytes) override;
  bool ReplaceBinary(const std::string& path, std::string_view bytes) override;
  bool RemoveFile(const std::string& path) override;
  std::vector<std::string> ListFolder(const std::string& folder,
                                      const std::string& pattern) override {
    return files_.ListFolder(folder, pattern);
  }

 private:
  struct Entry {
    std::string path;  // a title is given only for the very path it was read from
    std::optional<std::string> title;
  };
  void Forget(const std::string& path);

  FileSystem& files_;
  // Keyed by the file name without letter case and trailing dots or spaces: the ways another
  // spelling can name the same file, so a write under one spelling forgets the other.
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace quorva
