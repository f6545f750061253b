#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/real_file_system.h"
#include "platform/temporary_files.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// Opens a regular file for reading; a folder fails here as it does on Windows. The open does
// not wait: a pipe with no writer would block it for ever, and a device is never read. Reads of
// a regular file are not changed by O_NONBLOCK.
int OpenRegularFile(const std::string& path, struct stat* info) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    return -1;
  }
  if (::fstat(fd, info) != 0 || !S_ISREG(info->st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The error of the failed call, or 0 when every byte was written.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

std::uint64_t Nanoseconds(const struct timespec& time) {
  return static_cast<std::uint64_t>(time.tv_sec) * 1000000000u +
         static_cast<std::uint64_t>(time.tv_nsec);
}

// A file is settled once its last change is older than one step of its file system's clock:
// whole seconds (ext2, FAT: two) where the times carry no fraction, else a kernel tick of at
// most 10 ms, doubled for safety.
bool IsSettled(const struct stat& info) {
  struct timespec now;
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) {
    return false;
  }
  const std::uint64_t latest = std::max(Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim));
  const bool whole_seconds = info.st_mtim.tv_nsec == 0 && info.st_ctim.tv_nsec == 0;
  const std::uint64_t step = whole_seconds ? 2000000000u : 20000000u;
  return Nanoseconds(now) > latest + step;
}

FileStamp StampOf(const struct stat& info) {
  FileStamp stamp;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.file = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified = Nanoseconds(info.st_mtim);
  stamp.changed = Nanoseconds(info.st_ctim);
  stamp.settled = IsSettled(info);
  return stamp;
}

class PosixByteReader : public ByteReader {
 public:
  PosixByteReader(int fd, const struct stat& info) : fd_(fd), info_(info) {}
  ~PosixByteReader() override { ::close(fd_); }
  PosixByteReader(const PosixByteReader&) = delete;
  PosixByteReader& operator=(const PosixByteReader&) = delete;

  std::size_t Read(char* buffer, std::size_t size) override {
    while (true) {
      ssize_t got = ::read(fd_, buffer, size);
      if (got >= 0) {
        return static_cast<std::size_t>(got);
      }
      if (errno != EINTR) {
        return 0;
      }
    }
  }

  // Made only when asked: whole-file reads never need it.
  std::optional<FileStamp> Stamp() override { return StampOf(info_); }

 private:
  int fd_;
  struct stat info_;  // as opened
};

// True when the file at `path` holds exactly `bytes`. `size`, its length from an earlier stat,
// spares the read for nearly every file whose bytes change.
bool HoldsBytes(const std::string& path, std::uint64_t size, std::string_view bytes) {
  if (size != bytes.size()) {
    return false;
  }
  struct stat info;
  int fd = OpenRegularFile(path, &info);
  if (fd < 0) {
    return false;
  }
  PosixByteReader reader(fd, info);
  return ReadToEnd(reader, bytes.size()) == bytes;
}

// Writes the bytes to a new temporary file beside `target`, then renames it over `target`: a
// killed run leaves `target` either as it was or complete, and a failed write removes the
// temporary file. A file that replaces `existing` gets its mode and owner; a new one gets what a
// plain create gives (the umask, or the folder's default ACL).
WriteResult WriteThroughTemporaryFile(const std::string& target, std::string_view bytes,
                                      const struct stat* existing) {
  static const unsigned long process_id = static_cast<unsigned long>(::getpid());
  std::string temporary;
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < kTemporaryNameTries; ++tries) {
    temporary = TemporaryPathBeside(target, process_id);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                existing != nullptr ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) {
      break;
    }
  }
  if (fd < 0) {
    return WriteErrorOutcome(errno);
  }
  int error = WriteAll(fd, bytes);
  if (error == 0 && existing != nullptr) {
    // The owner goes first: a change of owner clears the set-user-ID and set-group-ID bits.
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
      // Only a privileged user may give the file away; keeping our own ownership is fine.
    }
    // The mode is set afterwards, not at the create, where a default ACL would take bits away.
    if (::fchmod(fd, existing->st_mode & 07777) != 0) {
      error = errno;
    }
  }
  // A network file system may report a failed write only at the close.
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    return WriteErrorOutcome(error);
  }
  return WriteResult{};
}

// Replaces the regular file `target`, whose state is `info`, unless it already holds `bytes`.
WriteResult ReplaceRegularFile(const std::string& target, const struct stat& info,
                               std::string_view bytes, WriteStep step) {
  if (HoldsBytes(target, static_cast<std::uint64_t>(info.st_size), bytes)) {
    return WriteResult{};
  }
  // A read-only file stays untouched, also for a user (root) whom access() would let write.
  if (::access(target.c_str(), W_OK) != 0) {
    return WriteErrorOutcome(errno);
  }
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return WriteErrorOutcome(EACCES);
  }
  return step == WriteStep::kWrite ? WriteThroughTemporaryFile(target, bytes, &info)
                                   : WriteResult{};
}

// Creates `path`, which does not exist yet; a probe asks only whether its folder takes a file.
WriteResult CreateFile(const std::string& path, std::string_view bytes, WriteStep step) {
  if (step == WriteStep::kWrite) {
    return WriteThroughTemporaryFile(path, bytes, nullptr);
  }
  const PathParts parts = SplitPath(path);
  const std::string folder = parts.drive + parts.folder;
  if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) {
    return WriteErrorOutcome(errno);
  }
  return WriteResult{};
}

// Where the symbolic link `path` finally leads, with the target's state in `info`; nothing,
// with errno set, when it leads nowhere.
std::optional<std::string> FollowLink(const std::string& path, struct stat* info) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr || ::stat(resolved, info) != 0) {
    return std::nullopt;
  }
  return std::string(resolved);
}

// True when `target`, a resolved path, lies in the folder that holds `path` itself, however the
// folder's own path goes.
bool LiesBeside(const std::string& target, const std::string& path) {
  const PathParts parts = SplitPath(path);
  char resolved[PATH_MAX];
  const std::string folder = parts.drive + parts.folder;
  if (::realpath(folder.empty() ? "." : folder.c_str(), resolved) == nullptr) {
    return false;
  }
  const std::size_t slash = target.rfind('/');
  const std::string target_folder = slash == 0 ? "/" : target.substr(0, slash);
  return target_folder == resolved;
}

// Replaces the existing entry `path`, whose own state (not followed) is `info`.
WriteResult ReplaceExisting(const std::string& path, struct stat info, std::string_view bytes,
                            LinkReach reach, WriteStep step) {
  std::string target = path;
  const bool link = S_ISLNK(info.st_mode);
  // A symbolic link stays a link: the file it points at is the one replaced.
  if (link) {
    std::optional<std::string> resolved = FollowLink(path, &info);
    if (!resolved) {
      return WriteErrorOutcome(errno);
    }
    target = std::move(*resolved);
  }
  if (!S_ISREG(info.st_mode)) {
    // A folder, a device or a pipe is no file the tool may replace.
    return WriteErrorOutcome(S_ISDIR(info.st_mode) ? EISDIR : EACCES);
  }
  if (link && reach == LinkReach::kOwnFolder && !LiesBeside(target, path)) {
    return LinksOutsideOutcome();
  }
  return ReplaceRegularFile(target, info, bytes, step);
}

}  // namespace

bool RealFileSystem::IsReadable(const std::string& path) {
  return ::access(path.c_str(), R_OK) == 0;
}

std::optional<std::uint64_t> RealFileSystem::FileLength(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(info.st_size);
}

std::optional<FileStamp> RealFileSystem::Stamp(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return StampOf(info);
}

std::unique_ptr<ByteReader> RealFileSystem::OpenForReading(const std::string& path) {
  struct stat info;
  int fd = OpenRegularFile(path, &info);
  if (fd < 0) {
    return nullptr;
  }
  return std::make_unique<PosixByteReader>(fd, info);
}

std::optional<std::string> RealFileSystem::ReadBinary(const std::string& path) {
  struct stat info;
  int fd = OpenRegularFile(path, &info);
  if (fd < 0) {
    return std::nullopt;
  }
  PosixByteReader reader(fd, info);
  return ReadToEnd(reader, static_cast<std::size_t>(info.st_size));
}

WriteResult WriteOrProbe(const std::string& path, std::string_view bytes, LinkReach reach,
                         WriteKind kind, WriteStep step) {
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0) {
    return ReplaceExisting(path, info, bytes, reach, step);
  }
  if (errno != ENOENT || kind == WriteKind::kReplaceOnly) {
    return WriteErrorOutcome(errno);
  }
  return CreateFile(path, bytes, step);
}

bool RealFileSystem::LinksOutOfItsFolder(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
    return false;
  }
  std::optional<std::string> target = FollowLink(path, &info);
  return target && S_ISREG(info.st_mode) && !LiesBeside(*target, path);
}

bool RealFileSystem::RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::string RealFileSystem::AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') {
    return path;
  }
  std::string folder(PATH_MAX, '\0');
  if (::getcwd(folder.data(), folder.size()) == nullptr) {
    return path;
  }
  folder.resize(std::strlen(folder.c_str()));
  return folder == "/" ? "/" + path : folder + "/" + path;
}

bool RealFileSystem::IgnoresLetterCase() {
  return false;
}

std::vector<std::string> RealFileSystem::ListFolder(const std::string& folder,
                                                    const std::string& pattern) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) {
    return names;
  }
  while (const dirent* entry = ::readdir(dir)) {
    std::string name(entry->d_name);
    if (name != "." && name != "..") {
      names.push_back(std::move(name));
    }
  }
  ::closedir(dir);
  return SelectAndSortNames(std::move(names), pattern);
}

bool IsRefusalCode(long code) {
  switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case ENOENT:
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return true;
    default:
      return false;
  }
}

std::string SystemErrorText(long code) {
  return std::strerror(static_cast<int>(code));
}

}  // namespace quorva
