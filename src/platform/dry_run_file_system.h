#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "text/string_table.h"

namespace quorva {

// A run that writes nothing. Every write lands in memory, refused where the file system beneath
// would refuse it, and every later read, listing and stamp sees the files as the run has left
// them so far; removals only hide a file. The disk is only ever read. The bytes of a file are
// kept only until the run lets go of them (ForgetWrittenBytes): a run over a large help set
// would otherwise hold every page it writes.
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
  bool ForgetWrittenBytes(const std::string& path) override;
  void ForgetBytesOfNextWrite(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::string AbsolutePath(const std::string& path) override;
  bool IgnoresLetterCase() override;
  FolderNames ListFolder(const std::string& folder, const std::string& pattern) override;

  // What the run would have done to the disk, each list sorted: the existing files whose bytes
  // it would change, and the files it would create. The paths are this file system's own, good
  // until its next write: a run over a large help set plans hundreds of thousands.
  struct Plan {
    std::vector<std::string_view> changed;
    std::vector<std::string_view> created;
  };
  Plan PlannedChanges();

 private:
  // What the run wrote to one path; what it decides is known at each write, so that the bytes
  // can go once no reader needs them.
  struct WrittenFile {
    std::uint64_t size = 0;
    std::uint32_t version = 0;    // 0: removed since, or never written
    bool on_disk = false;         // the disk holds a file of that name the tool can read
    bool differs = true;          // from the disk's, or the disk holds none
    bool let_go_unheard = false;  // kept no bytes, told so before, not asked to forget since
  };
  // The file the run wrote at `path`; nothing when it wrote none or removed it since.
  const WrittenFile* Find(const std::string& path) const;
  std::string_view PathOf(std::uint32_t number) const;
  bool IsHidden(const std::string& path) const;
  WriteResult Keep(const std::string& path, std::string_view bytes, const WriteResult& result);
  FileStamp StampOf(std::uint32_t number) const;

  FileSystem& disk_;
  StringTable keys_;                                         // the paths' keys, numbered
  std::vector<WrittenFile> written_;                         // by the key's number
  std::unordered_map<std::uint32_t, std::string> bytes_;     // those still kept
  std::unordered_map<std::uint32_t, std::string> named_as_;  // paths first named otherwise
  std::set<std::string> removed_;                            // keys
  std::string forget_next_;  // the key of the next write's path, if its bytes go at once
  std::uint32_t next_version_ = 1;
};

}  // namespace quorva
