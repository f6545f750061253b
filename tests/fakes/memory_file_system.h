#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quorva {

// Files and folders in memory. Paths are kept with "/" separators, so tests read the same on
// every platform; what was read, written and replaced is recorded.
class MemoryFileSystem : public FileSystem {
 public:
  void AddFile(const std::string& path, std::string content);
  void AddFolder(const std::string& path);
  // A symbolic link at `path` to the file or link at `target` (a whole path, not relative).
  void AddLink(const std::string& path, const std::string& target);
  void MakeReadOnly(const std::string& path);
  // Every later write of `path` ends with `result` (refused or failed) and leaves the file as
  // it was, as the real one does after removing its temporary file.
  void FailWrites(const std::string& path, WriteResult result);
  // The content of a file, or "<missing>".
  std::string Content(const std::string& path) const;
  bool HasFile(const std::string& path) const;

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
  std::optional<std::uint64_t> ReplacedSoFar() override;
  std::string AbsolutePath(const std::string& path) override;
  bool IgnoresLetterCase() override;
  FolderNames ListFolder(const std::string& folder, const std::string& pattern) override;

  // How paths compare, as on Linux (false) or Windows (true); files are kept by their exact
  // names either way.
  bool ignores_letter_case = false;
  // As on NTFS: names compare without letter case, and a file replaced takes the spelling it is
  // written under. Implies ignores_letter_case.
  bool replace_takes_new_spelling = false;
  // Whether stamps count as settled (see FileStamp): false stands for files changed just now.
  bool stamps_settled = true;
  // Whether the files replaced and removed are counted (see FileSystem::ReplacedSoFar), as on
  // Linux; a change through AddFile stands for another program's and is not.
  bool counts_replaced = false;
  int stamps_asked = 0;
  std::vector<std::string> reads;
  std::vector<std::string> writes;
  std::vector<std::string> replacements;

 private:
  WriteResult WriteOrProbe(const std::string& path, std::string_view bytes, LinkReach reach,
                           WriteKind kind, bool probe);
  // Sets a file's content and gives it a stamp no earlier content had.
  void Store(const std::string& key, std::string_view content);
  // The key of the file `path` finally names, links followed.
  std::string Resolve(const std::string& path) const;
  // The key a file, link or folder is kept under that `key` names, in any letter case where
  // names are taken as on NTFS.
  std::string Spelled(const std::string& key) const;

  std::map<std::string, std::string> files_;
  std::map<std::string, std::uint64_t> versions_;
  std::uint64_t next_version_ = 1;
  std::uint64_t removed_ = 0;
  std::set<std::string> folders_;
  std::map<std::string, std::string> links_;
  std::set<std::string> read_only_;
  std::map<std::string, WriteResult> failing_;
};

}  // namespace quorva
