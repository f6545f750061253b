#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/real_file_system.h"
#include "platform/temporary_files.h"
#include "platform/windows_write_retry.h"
#include "text/path.h"
#include "text/wildcard.h"

// File names go through the narrow (code page) Win32 functions only: the tool treats names as
// 8-bit bytes, and a name read from a listing must open as the same file.

namespace quorva {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// ReadFile and WriteFile take a 32-bit count: larger transfers go in pieces of this size.
constexpr std::size_t kMaxTransfer = 1u << 30;

// True when `path` names a device (CON, NUL, AUX, PRN, COM1 to COM9, LPT1 to LPT9, CONIN$ or
// CONOUT$, in any case, with or without an extension) or a named pipe: never a file on disk, and
// one that a read may wait on for ever. Such a name is not opened at all.
bool NamesDeviceOrPipe(const std::string& path) {
  std::string folded = FoldAsciiCase(path);
  std::replace(folded.begin(), folded.end(), '/', '\\');
  if (folded.rfind("\\\\.\\pipe\\", 0) == 0 || folded.rfind("\\\\?\\pipe\\", 0) == 0) {
    return true;
  }
  std::string name = FileNameOf(folded);
  name.erase(std::min(name.find('.'), name.size()));
  // The system drops spaces before the extension: "nul .htm" is NUL too.
  name.erase(name.find_last_not_of(' ') + 1);
  for (const char* device : {"con", "nul", "aux", "prn", "conin$", "conout$"}) {
    if (name == device) {
      return true;
    }
  }
  return name.size() == 4 && (name.compare(0, 3, "com") == 0 || name.compare(0, 3, "lpt") == 0) &&
         name[3] >= '1' && name[3] <= '9';
}

// Opens an existing file on disk; a folder fails (no backup semantics asked for), and so does a
// device such as CON or NUL, which a page name could otherwise reach. On failure the last error
// tells why: ERROR_ACCESS_DENIED for a device, as the system gives it for a folder.
UniqueHandle OpenDiskFile(const std::string& path, DWORD access) {
  if (NamesDeviceOrPipe(path)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  HANDLE handle =
      ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return nullptr;
  }
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return UniqueHandle(handle);
}

// The error of the failed write, or ERROR_SUCCESS once every byte is written.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    DWORD wanted = static_cast<DWORD>(bytes.size() < kMaxTransfer ? bytes.size() : kMaxTransfer);
    if (!::WriteFile(file, bytes.data(), wanted, &written, nullptr)) {
      return ::GetLastError();
    }
    if (written == 0) {
      // Taking nothing without an error would loop for ever.
      return ERROR_WRITE_FAULT;
    }
    bytes.remove_prefix(written);
  }
  return ERROR_SUCCESS;
}

std::uint64_t JoinHalves(DWORD high, DWORD low) {
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The file number tells a replaced file from the old one on NTFS. Where numbers come back (FAT)
// the last-write time has to tell, and FAT keeps it in two-second steps: a file is settled three
// seconds after its last write. The creation time does not count there, since a file renamed
// over another may take over the old one's.
std::optional<FileStamp> StampOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!::GetFileInformationByHandle(file, &information)) {
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.device = information.dwVolumeSerialNumber;
  stamp.file = JoinHalves(information.nFileIndexHigh, information.nFileIndexLow);
  stamp.size = JoinHalves(information.nFileSizeHigh, information.nFileSizeLow);
  stamp.modified = JoinHalves(information.ftLastWriteTime.dwHighDateTime,
                              information.ftLastWriteTime.dwLowDateTime);
  stamp.changed = JoinHalves(information.ftCreationTime.dwHighDateTime,
                             information.ftCreationTime.dwLowDateTime);
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  constexpr std::uint64_t kSettlingTime = 30000000;  // three seconds in 100 ns units
  stamp.settled =
      JoinHalves(now.dwHighDateTime, now.dwLowDateTime) > stamp.modified + kSettlingTime;
  return stamp;
}

class WindowsByteReader : public ByteReader {
 public:
  explicit WindowsByteReader(UniqueHandle file) : file_(std::move(file)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    DWORD wanted = static_cast<DWORD>(size < kMaxTransfer ? size : kMaxTransfer);
    if (!::ReadFile(file_.get(), buffer, wanted, &got, nullptr)) {
      return 0;
    }
    return got;
  }

  std::optional<FileStamp> Stamp() override { return StampOf(file_.get()); }

 private:
  UniqueHandle file_;
};

// The path the open file was reached by after every symbolic link, so that a link stays a link
// when its file is replaced; `path` itself when it cannot be told.
std::string FinalPathOf(HANDLE file, const std::string& path) {
  char final_path[MAX_PATH + 8];
  // Some network redirectors cannot normalize a name; the name as opened serves then.
  DWORD length = 0;
  for (DWORD form : {FILE_NAME_NORMALIZED, FILE_NAME_OPENED}) {
    length =
        ::GetFinalPathNameByHandleA(file, final_path, sizeof final_path, form | VOLUME_NAME_DOS);
    if (length != 0) {
      break;
    }
  }
  if (length == 0 || length >= sizeof final_path) {
    return path;
  }
  std::string resolved(final_path, length);
  if (resolved.rfind("\\\\?\\UNC\\", 0) == 0) {
    return "\\\\" + resolved.substr(8);
  }
  if (resolved.rfind("\\\\?\\", 0) == 0) {
    return resolved.substr(4);
  }
  return resolved;
}

// True when the entry `path` itself is a reparse point: a symbolic link or a junction.
bool IsReparsePoint(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A final path without the separator a folder's may end with, in one letter case.
std::string ComparableFolder(std::string folder) {
  while (!folder.empty() && folder.back() == '\\') {
    folder.pop_back();
  }
  return FoldAsciiCase(folder);
}

// True when `path` is a reparse point to a file on disk that lies outside the folder holding
// `path`, both taken after every reparse point on their way. Where either final path cannot be
// told, the link is not followed either.
bool LeadsOutOfItsFolder(const std::string& path) {
  if (!IsReparsePoint(path)) {
    return false;
  }
  UniqueHandle target = OpenDiskFile(path, 0);
  if (!target) {
    return false;  // it leads nowhere, or to no file: the replace refuses it as such
  }
  const std::string folder(FolderOf(path));
  HANDLE holder = ::CreateFileA(folder.empty() ? "." : folder.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (holder == INVALID_HANDLE_VALUE) {
    return true;
  }
  UniqueHandle holder_handle(holder);
  const std::string target_path = FinalPathOf(target.get(), "");
  const std::string folder_path = FinalPathOf(holder, "");
  if (target_path.empty() || folder_path.empty()) {
    return true;
  }
  const PathParts target_parts = SplitPath(target_path);
  return ComparableFolder(target_parts.drive + target_parts.folder) !=
         ComparableFolder(folder_path);
}

// True when `path` is a disk file that holds exactly `bytes`.
bool HoldsBytes(const std::string& path, std::string_view bytes) {
  UniqueHandle file = OpenDiskFile(path, GENERIC_READ);
  LARGE_INTEGER size;
  if (!file || !::GetFileSizeEx(file.get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) != bytes.size()) {
    return false;
  }
  WindowsByteReader reader(std::move(file));
  return ReadToEnd(reader, bytes.size()) == bytes;
}

// Writes the bytes to a new temporary file beside `target`, gives it `attributes` and moves it
// over `target`: a killed run leaves `target` either as it was or complete, and a failed write
// removes the temporary file and reports the error of the step that failed.
WriteResult WriteThroughTemporaryFile(const std::string& target, std::string_view bytes,
                                      DWORD attributes, WriteRetry& retry) {
  std::string temporary;
  UniqueHandle file;
  DWORD error = ERROR_FILE_EXISTS;
  for (int tries = 0; error == ERROR_FILE_EXISTS && tries < kTemporaryNameTries; ++tries) {
    temporary = TemporaryPathBeside(target, ::GetCurrentProcessId());
    error = retry.Run(WriteRetry::AccessDenied::kFinal, [&]() -> DWORD {
      HANDLE handle = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle == INVALID_HANDLE_VALUE) {
        return ::GetLastError();
      }
      file.reset(handle);
      return ERROR_SUCCESS;
    });
  }
  if (error != ERROR_SUCCESS) {
    return WriteErrorOutcome(error);
  }
  error = WriteAll(file.get(), bytes);
  // A network share may report a failed write only at the close.
  if (!::CloseHandle(file.release()) && error == ERROR_SUCCESS) {
    error = ::GetLastError();
  }
  if (error == ERROR_SUCCESS && !::SetFileAttributesA(temporary.c_str(), attributes)) {
    error = ::GetLastError();
  }
  if (error == ERROR_SUCCESS) {
    error = retry.Run(WriteRetry::AccessDenied::kMayPass, [&]() -> DWORD {
      return ::MoveFileExA(temporary.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                 ? ERROR_SUCCESS
                 : ::GetLastError();
    });
  }
  if (error != ERROR_SUCCESS) {
    ::SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(temporary.c_str());
    return WriteErrorOutcome(error);
  }
  return WriteResult{};
}

// Attributes that a replaced file takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

// Replaces the existing file `path` unless it already holds `bytes`, or unless it is a link out
// of its folder that `reach` does not follow.
WriteResult ReplaceExistingFile(const std::string& path, std::string_view bytes, LinkReach reach,
                                WriteRetry& retry, WriteStep step) {
  if (reach == LinkReach::kOwnFolder && LeadsOutOfItsFolder(path)) {
    return LinksOutsideOutcome();
  }
  if (HoldsBytes(path, bytes)) {
    return WriteResult{};
  }
  // Opening for writing (nothing is written) tells whether the file may be changed at all, by
  // its read-only attribute or by its access rights, and follows a symbolic link.
  UniqueHandle existing;
  DWORD error = retry.Run(WriteRetry::AccessDenied::kFinal, [&]() -> DWORD {
    existing = OpenDiskFile(path, GENERIC_WRITE);
    return existing ? ERROR_SUCCESS : ::GetLastError();
  });
  if (error != ERROR_SUCCESS) {
    return WriteErrorOutcome(error);
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(existing.get(), &info)) {
    return WriteErrorOutcome(::GetLastError());
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return WriteErrorOutcome(ERROR_ACCESS_DENIED);
  }
  if (step == WriteStep::kProbe) {
    return WriteResult{};
  }
  std::string target = FinalPathOf(existing.get(), path);
  existing.reset();
  DWORD kept = info.dwFileAttributes & kKeptAttributes;
  return WriteThroughTemporaryFile(target, bytes, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, retry);
}

// A probe asks only whether the folder of a file to create is there.
WriteResult CreateNewFile(const std::string& path, std::string_view bytes, WriteRetry& retry,
                          WriteStep step) {
  if (step == WriteStep::kWrite) {
    return WriteThroughTemporaryFile(path, bytes, FILE_ATTRIBUTE_NORMAL, retry);
  }
  const std::string folder(FolderOf(path));
  const DWORD attributes = ::GetFileAttributesA(folder.empty() ? "." : folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return WriteErrorOutcome(ERROR_PATH_NOT_FOUND);
  }
  return WriteResult{};
}

}  // namespace

// Windows asks the system afresh each time: its calls do not come in the same parts.
struct FileStateMemo {};

RealFileSystem::RealFileSystem() : memo_(std::make_unique<FileStateMemo>()) {}
RealFileSystem::~RealFileSystem() = default;

bool RealFileSystem::IsReadable(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::uint64_t> RealFileSystem::FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<FileStamp> RealFileSystem::Stamp(const std::string& path) {
  // Opened for reading, as the title is read: a file that cannot be read has no stamp.
  UniqueHandle file = OpenDiskFile(path, GENERIC_READ);
  return file ? StampOf(file.get()) : std::nullopt;
}

std::unique_ptr<ByteReader> RealFileSystem::OpenForReading(const std::string& path) {
  UniqueHandle file = OpenDiskFile(path, GENERIC_READ);
  if (!file) {
    return nullptr;
  }
  return std::make_unique<WindowsByteReader>(std::move(file));
}

std::optional<std::string> RealFileSystem::ReadBinary(const std::string& path) {
  UniqueHandle file = OpenDiskFile(path, GENERIC_READ);
  LARGE_INTEGER size;
  if (!file || !::GetFileSizeEx(file.get(), &size)) {
    return std::nullopt;
  }
  WindowsByteReader reader(std::move(file));
  return ReadToEnd(reader, static_cast<std::size_t>(size.QuadPart));
}

WriteResult WriteOrProbe(FileStateMemo& /*memo*/, const std::string& path, std::string_view bytes,
                         LinkReach reach, WriteKind kind, WriteStep step) {
  WriteRetry retry;
  if (NamesDeviceOrPipe(path)) {
    return WriteErrorOutcome(ERROR_ACCESS_DENIED);
  }
  if (kind == WriteKind::kCreateOrReplace &&
      ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
      ::GetLastError() == ERROR_FILE_NOT_FOUND) {
    return CreateNewFile(path, bytes, retry, step);
  }
  // Anything else, a missing folder too, is for the open-for-writing check to tell.
  return ReplaceExistingFile(path, bytes, reach, retry, step);
}

bool RealFileSystem::LinksOutOfItsFolder(const std::string& path) {
  return LeadsOutOfItsFolder(path);
}

std::optional<std::uint64_t> RealFileSystem::ReplacedSoFar() {
  return std::nullopt;  // a name of another letter case may name the file: every state is asked
}

bool RealFileSystem::RemoveFile(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

std::string RealFileSystem::AbsolutePath(const std::string& path) {
  const DWORD size = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) {
    return path;
  }
  std::string full(size, '\0');
  const DWORD length = ::GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) {
    return path;
  }
  full.resize(length);
  return full;
}

bool RealFileSystem::IgnoresLetterCase() {
  return true;
}

FolderNames RealFileSystem::ListFolder(const std::string& folder, const std::string& pattern) {
  // Everything is listed and the tool's own matcher picks: FindFirstFileA would also match a
  // pattern against short 8.3 names ("*.css" finding "a.cssx" through "A~1.CSS").
  FolderNames names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(MakePath("", folder, "*", "").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    const std::string_view name(found.cFileName);
    if (name != "." && name != "..") {
      names.Add(name);
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  names.SelectAndSort(pattern);
  return names;
}

bool IsRefusalCode(long code) {
  switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
    // Still held by another process once the retries are spent.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return true;
    default:
      return false;
  }
}

// The system's text for `code` without the ".\r\n" it ends with: the caller puts it into a
// sentence of its own.
std::string SystemErrorText(long code) {
  char* text = nullptr;
  DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason(text != nullptr ? text : "", text != nullptr ? length : 0);
  ::LocalFree(text);
  std::size_t end = reason.find_last_not_of(". \r\n");
  reason.erase(end == std::string::npos ? 0 : end + 1);
  if (reason.empty()) {
    return "Windows error " + std::to_string(code);
  }
  return reason;
}

}  // namespace quorva
