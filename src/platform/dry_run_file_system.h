#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quorva {

// A run that writes nothing. Every write lands in memory, refused where the file system beneath
// would refuse it, and every later read, listing and stamp sees the files as the run has left
// them so far; removals only hide a file. The disk is only ever read.
class DryRunFileSystem : public FileSystem {
 public:
  explicit DryRunFileSystem(FileSystem& disk) : disk_(disk) {}

  bool IsReadable(const std::string& path) override;
  std::optional<std::uint64_t> FileLength(const std::string& path) override;
  std::optional<FileStamp> Stamp(const std::string& path) override;
  std::unique_ptr<ByteReader> OpenForReading(const std::string& path) override;
  std::optional<std::string> ReadBinary(const std::string& path) override;
  WriteResult WriteBinary(const std::string& path, std::string_view bytes,
                          LinkReach reach) override;
  WriteResult ReplaceBinary(const std::string& path, std::string_view bytes,
                            LinkReach reach) override;
  WriteResult ProbeWrite(const std::string& path, std::string_view bytes, LinkReach reach,
                         WriteKind kind) override;
  bool LinksOutOfItsFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::string AbsolutePath(const std::string& path) override;
  bool IgnoresLetterCase() override;
  std::vector<std::string> ListFolder(const std::string& folder,
                                      const std::string& pattern) override;

  // What the run would have done to the disk, each list sorted: the existing files whose bytes
  // it would change, and the files it would create.
  struct Plan {
    std::vector<std::string> changed;
    std::vector<std::string> created;
  };
  Plan PlannedChanges();

 private:
  struct WrittenFile {
    std::string path;  // as the run named it first
    std::string bytes;
    std::uint64_t version = 0;
  };
  const WrittenFile* Find(const std::string& path) const;
  bool IsHidden(const std::string& path) const;
  WriteResult Keep(const std::string& path, std::string_view bytes, const WriteResult& result);

  FileSystem& disk_;
  std::map<std::string, WrittenFile> written_;  // by the path's key
  std::set<std::string> removed_;               // keys
  std::uint64_t next_version_ = 1;
};

}  // namespace quorva
