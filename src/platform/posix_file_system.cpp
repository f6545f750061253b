#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "platform/real_file_system.h"
#include "platform/temporary_files.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

// The owner, group and permission bits of a file.
struct FileOwnership {
  uid_t owner = 0;
  gid_t group = 0;
  mode_t mode = 0;

  bool operator==(const FileOwnership& other) const {
    return owner == other.owner && group == other.group && mode == other.mode;
  }
};

struct FileStateMemo {
  // The last regular file whose state was asked for, as it was then, and how far it is known:
  // a whole read that follows a stamp opens the file without asking its state again, and a
  // rewrite that follows a whole read of a file that is no link takes its state from here. Any
  // write or removal forgets it.
  enum class Known { kNothing, kStamped, kReadNoLink };
  Known known = Known::kNothing;
  std::string path;
  struct stat state {};

  void Remember(Known what, const std::string& of, const struct stat& as) {
    known = what;
    path = of;
    state = as;
  }
  // The state remembered for `of` as `what`, forgotten in any case.
  const struct stat* Take(Known what, const std::string& of) {
    const bool held = known == what && path == of;
    known = Known::kNothing;
    return held ? &state : nullptr;
  }
  // While the names of new files keep coming free, a new file is renamed into place with a
  // rename that replaces nothing, without asking first whether the name is taken; a taken one
  // sends that write, and the writes after it, the long way round until a name comes free again.
  bool names_come_free = true;
  bool rename_without_replacing_works = true;
  // Per folder, the ownership a replaced file had, and whether a file created there with its
  // mode got exactly that at once: then the next such file needs no change of owner or mode.
  std::unordered_map<std::string, std::pair<FileOwnership, bool>> created_as;
  // Files that were there and were replaced or removed, however they were named.
  std::uint64_t replaced = 0;
};

namespace {

// Opens a regular file for reading; a folder fails here as it does on Windows. The open does
// not wait: a pipe with no writer would block it for ever, and a device is never read. Reads of
// a regular file are not changed by O_NONBLOCK.
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

int OpenRegularFile(const std::string& path, struct stat* info, int flags = 0) {
  int fd = ::open(path.c_str(), kReadFlags | flags);
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

// The process's own user and group, which it never changes.
uid_t OwnUser() {
  static const uid_t user = ::geteuid();
  return user;
}
gid_t OwnGroup() {
  static const gid_t group = ::getegid();
  return group;
}

FileOwnership OwnershipOf(const struct stat& info) {
  return FileOwnership{info.st_uid, info.st_gid, static_cast<mode_t>(info.st_mode & 07777)};
}

// Moves `from` to `to`, which must not exist yet; EEXIST when it does, EINVAL where the file
// system cannot rename that way.
int RenameWithoutReplacing(const char* from, const char* to) {
#ifdef SYS_renameat2
  constexpr unsigned int kNoReplace = 1;  // RENAME_NOREPLACE
  return ::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, kNoReplace) == 0 ? 0 : errno;
#else
  (void)from;
  (void)to;
  return EINVAL;
#endif
}

enum class Placing { kReplacing, kWithoutReplacing };

// How a replacement gets the replaced file's ownership. A file created with the replaced file's
// mode usually has it all at once; what a create in a folder gives is asked once and remembered.
enum class Creating {
  kWithModeAsKnown,  // the folder's last file of that ownership got exactly it
  kWithModeToSee,    // ours and plain: created with its mode, then looked at
  kPrivate,          // created private, then given its owner and mode
};

Creating HowToCreate(const FileStateMemo& memo, const std::string& folder,
                     const FileOwnership& wanted) {
  auto known = memo.created_as.find(folder);
  if (known != memo.created_as.end() && known->second.first == wanted) {
    return known->second.second ? Creating::kWithModeAsKnown : Creating::kPrivate;
  }
  const bool ours_and_plain =
      wanted.owner == OwnUser() && wanted.group == OwnGroup() && (wanted.mode & 07000) == 0;
  return ours_and_plain ? Creating::kWithModeToSee : Creating::kPrivate;
}

// Gives the new file `fd` in `folder` the ownership of the file it replaces, as `creating`
// says. The owner goes first (a change of owner clears the set-user-ID and set-group-ID bits),
// then the mode, not at the create, where a default ACL would take bits away. The error of the
// failed call, or 0.
int TakeOwnership(FileStateMemo& memo, const std::string& folder, int fd,
                  const FileOwnership& wanted, Creating creating) {
  if (creating == Creating::kWithModeAsKnown) {
    return 0;
  }
  if (creating == Creating::kWithModeToSee) {
    struct stat made;
    if (::fstat(fd, &made) != 0) {
      return errno;
    }
    const bool given = OwnershipOf(made) == wanted;
    memo.created_as[folder] = {wanted, given};
    if (given) {
      return 0;
    }
  }
  if (::fchown(fd, wanted.owner, wanted.group) != 0) {
    // Only a privileged user may give the file away; keeping our own ownership is fine.
  }
  return ::fchmod(fd, wanted.mode) != 0 ? errno : 0;
}

// Writes the bytes to a new temporary file beside `target`, then renames it over `target`: a
// killed run leaves `target` either as it was or complete, and a failed write removes the
// temporary file. A file that replaces `existing` gets its mode and owner; a new one gets what a
// plain create gives (the umask, or the folder's default ACL).
WriteResult WriteThroughTemporaryFile(FileStateMemo& memo, const std::string& target,
                                      std::string_view bytes, const struct stat* existing,
                                      Placing placing = Placing::kReplacing) {
  static const unsigned long process_id = static_cast<unsigned long>(::getpid());
  const std::string folder(FolderOf(target));
  FileOwnership wanted;
  Creating creating = Creating::kPrivate;
  mode_t create_mode = 0666;
  if (existing != nullptr) {
    wanted = OwnershipOf(*existing);
    creating = HowToCreate(memo, folder, wanted);
    create_mode = creating == Creating::kPrivate ? 0600 : wanted.mode;
  }
  std::string temporary;
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < kTemporaryNameTries; ++tries) {
    temporary = TemporaryPathBeside(target, process_id);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, create_mode);
    if (fd < 0 && errno != EEXIST) {
      break;
    }
  }
  if (fd < 0) {
    return WriteErrorOutcome(errno);
  }
  int error = WriteAll(fd, bytes);
  if (error == 0 && existing != nullptr) {
    error = TakeOwnership(memo, folder, fd, wanted, creating);
  }
  // A network file system may report a failed write only at the close.
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0) {
    if (placing == Placing::kWithoutReplacing) {
      error = RenameWithoutReplacing(temporary.c_str(), target.c_str());
    } else if (::rename(temporary.c_str(), target.c_str()) != 0) {
      error = errno;
    }
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    return WriteErrorOutcome(error);
  }
  return WriteResult{};
}

// Replaces the regular file `target`, whose state is `info`, unless it already holds `bytes`.
WriteResult ReplaceRegularFile(FileStateMemo& memo, const std::string& target,
                               const struct stat& info, std::string_view bytes, WriteStep step) {
  if (HoldsBytes(target, static_cast<std::uint64_t>(info.st_size), bytes)) {
    return WriteResult{};
  }
  // Asked even where the mode lets the owner write: a file system or a security module may
  // refuse what the bits allow, and the rename over the file would not ask.
  if (::access(target.c_str(), W_OK) != 0) {
    return WriteErrorOutcome(errno);
  }
  // A read-only file stays untouched, also for a user (root) whom access() would let write.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return WriteErrorOutcome(EACCES);
  }
  return step == WriteStep::kWrite ? WriteThroughTemporaryFile(memo, target, bytes, &info)
                                   : WriteResult{};
}

// Creates `path`, which does not exist yet; a probe asks only whether its folder takes a file.
WriteResult CreateFile(FileStateMemo& memo, const std::string& path, std::string_view bytes,
                       WriteStep step) {
  if (step == WriteStep::kWrite) {
    return WriteThroughTemporaryFile(memo, path, bytes, nullptr);
  }
  const std::string folder(FolderOf(path));
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
  char resolved[PATH_MAX];
  const std::string folder(FolderOf(path));
  if (::realpath(folder.empty() ? "." : folder.c_str(), resolved) == nullptr) {
    return false;
  }
  const std::size_t slash = target.rfind('/');
  const std::string target_folder = slash == 0 ? "/" : target.substr(0, slash);
  return target_folder == resolved;
}

// Replaces the existing entry `path`, whose own state (not followed) is `info`.
WriteResult ReplaceExisting(FileStateMemo& memo, const std::string& path, struct stat info,
                            std::string_view bytes, LinkReach reach, WriteStep step) {
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
  return ReplaceRegularFile(memo, target, info, bytes, step);
}

// A new file renamed into place by a rename that replaces nothing, so that the name need not be
// asked for first; nothing when the name was taken (or the file system cannot rename so), and
// the write must go the long way.
std::optional<WriteResult> CreateWithoutAsking(FileStateMemo& memo, const std::string& path,
                                               std::string_view bytes) {
  if (!memo.names_come_free || !memo.rename_without_replacing_works) {
    return std::nullopt;
  }
  WriteResult result =
      WriteThroughTemporaryFile(memo, path, bytes, nullptr, Placing::kWithoutReplacing);
  if (result.code == EEXIST) {
    memo.names_come_free = false;
    return std::nullopt;
  }
  if (result.code == EINVAL || result.code == ENOSYS) {
    memo.rename_without_replacing_works = false;
    return std::nullopt;
  }
  return result;
}

// Counts a write over a file that was there.
WriteResult CountReplaced(FileStateMemo& memo, WriteStep step, WriteResult result) {
  if (step == WriteStep::kWrite && result.Written()) {
    ++memo.replaced;
  }
  return result;
}

}  // namespace

RealFileSystem::RealFileSystem() : memo_(std::make_unique<FileStateMemo>()) {}
RealFileSystem::~RealFileSystem() = default;

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
  memo_->Remember(FileStateMemo::Known::kStamped, path, info);
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
  using Known = FileStateMemo::Known;
  const struct stat* stamped = memo_->Take(Known::kStamped, path);
  struct stat info;
  // Opened without following a link, the file is the one its stamp or its own state tells of,
  // and that state is what a rewrite of it asks for next. A file still a regular one when it
  // was stamped just now needs no asking again: were it a pipe by now, the open does not wait
  // and the read finds nothing.
  int fd = stamped != nullptr ? ::open(path.c_str(), kReadFlags | O_NOFOLLOW)
                              : OpenRegularFile(path, &info, O_NOFOLLOW);
  if (fd >= 0) {
    memo_->Remember(Known::kReadNoLink, path, stamped != nullptr ? *stamped : info);
    info = memo_->state;
  } else if (errno == ELOOP) {
    fd = OpenRegularFile(path, &info);
  }
  if (fd < 0) {
    return std::nullopt;
  }
  PosixByteReader reader(fd, info);
  return ReadToEnd(reader, static_cast<std::size_t>(info.st_size));
}

WriteResult WriteOrProbe(FileStateMemo& memo, const std::string& path, std::string_view bytes,
                         LinkReach reach, WriteKind kind, WriteStep step) {
  // What the last read learned holds for this write only.
  if (const struct stat* read = memo.Take(FileStateMemo::Known::kReadNoLink, path)) {
    return CountReplaced(memo, step, ReplaceExisting(memo, path, *read, bytes, reach, step));
  }
  struct stat info;
  if (kind == WriteKind::kCreateOrReplace && step == WriteStep::kWrite) {
    if (std::optional<WriteResult> created = CreateWithoutAsking(memo, path, bytes)) {
      return *created;
    }
  }
  if (::lstat(path.c_str(), &info) == 0) {
    return CountReplaced(memo, step, ReplaceExisting(memo, path, info, bytes, reach, step));
  }
  if (errno != ENOENT || kind == WriteKind::kReplaceOnly) {
    return WriteErrorOutcome(errno);
  }
  memo.names_come_free = true;
  return CreateFile(memo, path, bytes, step);
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
  memo_->known = FileStateMemo::Known::kNothing;
  if (::unlink(path.c_str()) != 0) {
    return false;
  }
  ++memo_->replaced;
  return true;
}

std::optional<std::uint64_t> RealFileSystem::ReplacedSoFar() {
  return memo_->replaced;
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

FolderNames RealFileSystem::ListFolder(const std::string& folder, const std::string& pattern) {
  FolderNames names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) {
    return names;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name != "." && name != "..") {
      names.Add(name);
    }
  }
  ::closedir(dir);
  names.SelectAndSort(pattern);
  return names;
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
