#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/folder_names.h"

namespace quorva {

// What tells one state of a file from another. A file's times are only as fine as its file
// system's clock, and a replaced file's number may come back, so a later change shows in the
// stamp only when the stamp was taken once the file had settled: long enough after its last
// change that any further change gets other times. Fields the platform lacks stay zero.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t file = 0;  // the file's number on its device
  std::uint64_t size = 0;
  std::uint64_t modified = 0;  // last write, in the platform's own unit
  std::uint64_t changed = 0;   // last change of the file or its entry (creation on Windows)
  bool settled = false;        // every later change will show; not part of the comparison
};
// Equal device, number, size and times.
bool operator==(const FileStamp& a, const FileStamp& b);

// Reads an open file in blocks, so a reader can stop early (a page title, say).
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Fills up to `size` bytes; returns how many were read, 0 at the end of the file. Fewer than
  // `size` only at the end, or where the system cuts one read short of its length when opened.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // The open file's stamp; nothing where that cannot be told.
  virtual std::optional<FileStamp> Stamp() { return std::nullopt; }
};

// What became of one write. `kRefused` is a file or folder the system will not let the tool
// open or create for writing (read-only, no permission, not a regular file, a path that does
// not resolve): such files are skipped. `kLinksOutside` is refused too: a symbolic link that
// leads out of the folder holding it, where the write may not follow it. `kFailed` is every
// other error (a full disk, a quota, an input/output error): the file keeps its old bytes and
// the run cannot be trusted to go on.
enum class WriteOutcome { kWritten, kRefused, kLinksOutside, kFailed };

struct WriteResult {
  WriteOutcome outcome = WriteOutcome::kWritten;
  long code = 0;       // the system's error code (errno, GetLastError) when not written
  std::string reason;  // the system's text for `code`

  bool Written() const { return outcome == WriteOutcome::kWritten; }
  bool Failed() const { return outcome == WriteOutcome::kFailed; }
};

// How far a write may follow a symbolic link (on Windows, any reparse point). A path the user
// named may lead anywhere. A file the run found in a folder it processes may be replaced through
// a link only when the link's final target lies in that folder itself, reached however its own
// path goes; a link that leads elsewhere gives kLinksOutside, and its target keeps its bytes.
enum class LinkReach { kAnywhere, kOwnFolder };

enum class WriteKind { kCreateOrReplace, kReplaceOnly };

// Every file operation of the tool goes through this seam; `main` makes the real one and
// unit tests use an in-memory fake.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a file or folder of that name exists and may be read.
  virtual bool IsReadable(const std::string& path) = 0;
  // Length of a regular file in bytes; nothing for a folder or a missing file.
  virtual std::optional<std::uint64_t> FileLength(const std::string& path) = 0;
  // The stamp of a regular file (a symbolic link's target); nothing for a folder or a missing
  // file.
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
  // Opens a regular file for reading; nullptr when it is missing, a folder or unreadable. Only
  // regular files are read: a pipe, a socket or a device is never waited on, nor read.
  virtual std::unique_ptr<ByteReader> OpenForReading(const std::string& path) = 0;
  // The whole content of a regular file, bytes as they are.
  virtual std::optional<std::string> ReadBinary(const std::string& path) = 0;
  // Writes a file whole, created or replaced as ReplaceBinary does, so that a killed run never
  // leaves it half written.
  virtual WriteResult WriteBinary(const std::string& path, std::string_view bytes,
                                  LinkReach reach) = 0;
  // Replaces an existing file's content so that a killed run leaves it either old or new:
  // a temporary file beside it, then a rename over it, with its permissions kept. A file that
  // already holds exactly these bytes is left untouched (its time and number too) and counts
  // as written, unless it lies behind a link that `reach` does not follow. A missing or
  // read-only file, or anything but a regular file, is refused; on any failure the temporary
  // file is removed and the file keeps its old bytes.
  virtual WriteResult ReplaceBinary(const std::string& path, std::string_view bytes,
                                    LinkReach reach) = 0;
  // What WriteBinary (`kind` kCreateOrReplace) or ReplaceBinary (kReplaceOnly) would make of
  // these bytes, decided as they decide it but without writing anything: a run that writes
  // nothing still refuses what a real run refuses.
  virtual WriteResult ProbeWrite(const std::string& path, std::string_view bytes, LinkReach reach,
                                 WriteKind kind) = 0;
  // True when `path` is a link to a regular file whose final target lies outside the folder
  // holding the link, or where that cannot be told: the file a replace with
  // LinkReach::kOwnFolder refuses as kLinksOutside.
  virtual bool LinksOutOfItsFolder(const std::string& path) = 0;
  // Tells that the run reads nothing more of the bytes it wrote to `path` (its stamp and length
  // still count). A file system that keeps what the run writes rather than the disk (a dry run)
  // lets go of them and gives true; then anyone who would still need a fact of those bytes (a
  // page's title) must keep it.
  virtual bool ForgetWrittenBytes(const std::string& /*path*/) { return false; }
  // Tells, just before a write of `path`, that ForgetWrittenBytes will follow it: a file system
  // that would keep the bytes keeps none of them, and the call that follows still gives true.
  // Any write ends it, written or not.
  virtual void ForgetBytesOfNextWrite(const std::string& /*path*/) {}
  // How many files that were there the run has replaced or removed through this seam so far.
  // While the count stays the same, no file the run has not created since is changed by the
  // run, under any name, so a state asked for before still holds unless another program changed
  // the file meanwhile. Nothing where writes are not counted: then every state must be asked.
  virtual std::optional<std::uint64_t> ReplacedSoFar() { return std::nullopt; }
  // Removes a file; false when it cannot be removed.
  virtual bool RemoveFile(const std::string& path) = 0;
  // The path made absolute against the working folder; links are not resolved.
  virtual std::string AbsolutePath(const std::string& path) = 0;
  // True where names that differ only in letter case name one file (Windows), false where
  // they name two (Linux).
  virtual bool IgnoresLetterCase() = 0;
  // Names in `folder` (empty: the working directory) matching `pattern` ("*" any run of
  // characters, letters without case), sorted by name with letters compared without case.
  virtual FolderNames ListFolder(const std::string& folder, const std::string& pattern) = 0;
};

// Reads bytes held in memory, which outlive the reader.
class BytesReader : public ByteReader {
 public:
  explicit BytesReader(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string_view bytes_;
};

// Reads to the end of the file; `expected_size` (the file's length when opened) sizes the
// buffer once, and a file that grows or shrinks before it is read is still read whole.
std::string ReadToEnd(ByteReader& reader, std::size_t expected_size);

// A path made comparable with another that names the same file otherwise ("./help/a.htm",
// "/work/help/a.htm", "help/sub/../a.htm"): absolute, "." and ".." folded, "/" between folders,
// letters without case where the file system ignores it.
std::string MakeComparablePath(FileSystem& fs, const std::string& path);

// Text-mode reading and writing over the binary operations, the same bytes on every platform.
std::optional<std::string> ReadTextFile(FileSystem& fs, const std::string& path);
WriteResult WriteTextFile(FileSystem& fs, const std::string& path, std::string_view text,
                          LinkReach reach);

}  // namespace quorva
