#pragma once

#include <memory>

#include "platform/file_system.h"

namespace quorva {

// What one platform's calls remember of the files between calls, to spare asking the system
// again; defined per platform.
struct FileStateMemo;

// The operating system's files; implemented once per platform.
class RealFileSystem : public FileSystem {
 public:
  RealFileSystem();
  ~RealFileSystem() override;
  RealFileSystem(const RealFileSystem&) = delete;
  RealFileSystem& operator=(const RealFileSystem&) = delete;

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

 private:
  std::unique_ptr<FileStateMemo> memo_;
};

// What a write does once the file's checks have passed: writes it, or, for a probe, nothing.
enum class WriteStep { kWrite, kProbe };

// Per platform: a write, a replace or a probe of either (RealFileSystem's WriteBinary,
// ReplaceBinary and ProbeWrite), the checks the same for all.
WriteResult WriteOrProbe(FileStateMemo& memo, const std::string& path, std::string_view bytes,
                         LinkReach reach, WriteKind kind, WriteStep step);

// The outcome of a write that stopped on the system's error `code` (errno on POSIX,
// GetLastError on Windows): refused for the codes that mean "may not be written here", failed
// for every other, with the system's own text as the reason.
WriteResult WriteErrorOutcome(long code);

// The outcome of a replace refused because the file is a link that leads out of its folder.
WriteResult LinksOutsideOutcome();

// Per platform: whether `code` means the file may not be written here, and the system's text
// for it without a closing full stop.
bool IsRefusalCode(long code);
std::string SystemErrorText(long code);

}  // namespace quorva
