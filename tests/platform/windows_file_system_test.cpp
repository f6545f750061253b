#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "fakes/temp_folder.h"
#include "platform/real_file_system.h"
#include "text/path.h"

namespace quorva {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

DWORD AttributesOf(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

long long MillisecondsSince(steady_clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
}

// Another process that holds a file open with the share mode `share` for `hold` from the moment
// it has it, or until released, as a virus scanner does. Its end is awaited when the object goes.
class FileHolder {
 public:
  FileHolder(const std::string& path, DWORD share, milliseconds hold, const std::string& marker)
      : marker_(marker) {
    char own_path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, own_path, sizeof own_path);
    std::string program = PathBeside(std::string(own_path, length), QUORVA_HOLD_FILE);
    // Quotes suffice: the paths hold no quote and end without a backslash.
    std::string command_line = "\"" + program + "\" \"" + path + "\" " + std::to_string(share) +
                               " \"" + marker + "\" " + std::to_string(hold.count());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = ::CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                                CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process_);
  }
  ~FileHolder() {
    if (started_) {
      ::WaitForSingleObject(process_.hProcess, INFINITE);
      ::CloseHandle(process_.hThread);
      ::CloseHandle(process_.hProcess);
    }
  }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  // Lets the file go now.
  void Release() { ::DeleteFileA(marker_.c_str()); }

  // Waits until the holder has the file; false when it ended without. Wine may take seconds to
  // start a process on a busy machine.
  bool WaitUntilHeld() {
    const auto deadline = steady_clock::now() + std::chrono::seconds(60);
    while (started_ && steady_clock::now() < deadline) {
      if (AttributesOf(marker_) != INVALID_FILE_ATTRIBUTES) {
        return true;
      }
      if (::WaitForSingleObject(process_.hProcess, 10) == WAIT_OBJECT_0) {
        return false;
      }
    }
    return false;
  }

 private:
  std::string marker_;
  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
};

TEST(WindowsFileSystem, ANameWithBytesAbove0x7FRoundTrips) {
  TempFolder dir;
  RealFileSystem fs;
  const std::string name = "caf\xE9-\xC0.htm";
  ASSERT_TRUE(fs.WriteBinary(dir / name, "old", LinkReach::kOwnFolder).Written());
  const FolderNames listed = fs.ListFolder(dir.Path(), "*.htm*");
  ASSERT_EQ(listed, FolderNames{name});
  std::string path = dir / std::string(listed[0]);
  EXPECT_TRUE(fs.IsReadable(path));
  EXPECT_EQ(fs.FileLength(path), 3u);
  EXPECT_EQ(fs.ReadBinary(path), "old");
  ASSERT_TRUE(fs.ReplaceBinary(path, "new", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(fs.ReadBinary(path), "new");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), FolderNames{name});
}

TEST(WindowsFileSystem, ReplaceLeavesAReadOnlyFileUntouched) {
  TempFolder dir;
  dir.Write("ro.htm", "old");
  ASSERT_TRUE(::SetFileAttributesA((dir / "ro.htm").c_str(), FILE_ATTRIBUTE_READONLY));
  RealFileSystem fs;
  EXPECT_EQ(fs.ReplaceBinary(dir / "ro.htm", "new", LinkReach::kOwnFolder).outcome,
            WriteOutcome::kRefused);
  EXPECT_EQ(dir.Read("ro.htm"), "old");
  EXPECT_NE(AttributesOf(dir / "ro.htm") & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), FolderNames{"ro.htm"});
  // The folder is removed with its content only once the file may be deleted again.
  ::SetFileAttributesA((dir / "ro.htm").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFileSystem, ReplaceKeepsTheAttributes) {
  TempFolder dir;
  dir.Write("h.htm", "old");
  const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(::SetFileAttributesA((dir / "h.htm").c_str(), attributes));
  RealFileSystem fs;
  ASSERT_TRUE(fs.ReplaceBinary(dir / "h.htm", "new", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("h.htm"), "new");
  EXPECT_EQ(AttributesOf(dir / "h.htm") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            attributes);
  ASSERT_TRUE(fs.WriteBinary(dir / "h.htm", "rewritten", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("h.htm"), "rewritten");
}

TEST(WindowsFileSystem, DevicesAndFoldersAreNoFilesAndRefusedAtOnce) {
  TempFolder dir;
  dir.Write("folder.htm/inner.txt", "x");
  RealFileSystem fs;
  // Device names in any case and with any extension, and named pipes, are never opened.
  const std::vector<std::string> devices = {"NUL",
                                            dir / "con.htm",
                                            dir / "Nul.txt",
                                            dir / "COM1",
                                            dir / "lpt9.x.htm",
                                            dir / "aux .htm",
                                            "\\\\.\\pipe\\quorva",
                                            "//./PIPE/quorva"};
  for (const std::string& path : devices) {
    EXPECT_EQ(fs.OpenForReading(path), nullptr) << path;
    EXPECT_FALSE(fs.ReadBinary(path).has_value()) << path;
  }
  for (const std::string name : {"console.htm", "com10.htm", "nul_page.htm"}) {
    dir.Write(name, "a page");
    EXPECT_EQ(fs.ReadBinary(dir / name), "a page") << name;
  }
  // Their access is denied, which waiting for other processes would not change.
  const auto start = steady_clock::now();
  std::vector<std::string> refused = devices;
  refused.push_back(dir / "folder.htm");
  for (const std::string& path : refused) {
    EXPECT_EQ(fs.ReplaceBinary(path, "x", LinkReach::kOwnFolder).outcome, WriteOutcome::kRefused)
        << path;
    EXPECT_EQ(fs.WriteBinary(path, "x", LinkReach::kOwnFolder).outcome, WriteOutcome::kRefused)
        << path;
  }
  EXPECT_LT(MillisecondsSince(start), 500);
}

// The caller ends the reason with a full stop of its own.
TEST(WindowsFileSystem, WriteErrorsAreRefusalsOrFailuresWithTheSystemsText) {
  for (DWORD code : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_DISK_FULL}}) {
    WriteResult result = WriteErrorOutcome(code);
    EXPECT_EQ(result.outcome,
              code == ERROR_DISK_FULL ? WriteOutcome::kFailed : WriteOutcome::kRefused);
    EXPECT_EQ(result.code, static_cast<long>(code));
    ASSERT_FALSE(result.reason.empty());
    EXPECT_EQ(result.reason.find_last_not_of(". \r\n"), result.reason.size() - 1) << result.reason;
  }
}

// A file held without sharing cannot be opened for writing; one held without delete sharing
// cannot be moved over. Either keeps a write waiting, for up to about a second.
struct Hold {
  DWORD share;
  std::string name;
  DWORD error;  // the blocked step's, once the write gives up
};
const Hold kHolds[] = {{0, "unshared", ERROR_SHARING_VIOLATION},
                       {FILE_SHARE_READ | FILE_SHARE_WRITE, "undeletable", ERROR_ACCESS_DENIED}};

TEST(WindowsFileSystem, AWriteWaitsForAFileHeldForAMoment) {
  TempFolder dir;
  RealFileSystem fs;
  for (const Hold& hold : kHolds) {
    dir.Write(hold.name + ".htm", "old");
    FileHolder holder(dir / (hold.name + ".htm"), hold.share, milliseconds(600),
                      dir / (hold.name + ".held"));
    ASSERT_TRUE(holder.WaitUntilHeld());
    WriteResult result = fs.ReplaceBinary(dir / (hold.name + ".htm"), "new", LinkReach::kOwnFolder);
    EXPECT_TRUE(result.Written()) << hold.name << ": " << result.reason;
    EXPECT_EQ(dir.Read(hold.name + ".htm"), "new");
  }
}

TEST(WindowsFileSystem, AWriteGivesUpOnAFileHeldLongerAfterAboutASecond) {
  TempFolder dir;
  RealFileSystem fs;
  {
    // Held at once, so that the test waits for the holders once, and until released, however
    // long Wine takes to start them.
    std::vector<std::unique_ptr<FileHolder>> holders;
    for (const Hold& hold : kHolds) {
      dir.Write(hold.name + ".htm", "old");
      holders.push_back(std::make_unique<FileHolder>(dir / (hold.name + ".htm"), hold.share,
                                                     milliseconds(60000),
                                                     dir / (hold.name + ".held")));
    }
    for (auto& holder : holders) {
      ASSERT_TRUE(holder->WaitUntilHeld());
    }
    for (const Hold& hold : kHolds) {
      const auto start = steady_clock::now();
      WriteResult result = fs.WriteBinary(dir / (hold.name + ".htm"), "new", LinkReach::kOwnFolder);
      const long long waited = MillisecondsSince(start);
      EXPECT_EQ(result.outcome, WriteOutcome::kRefused) << hold.name;
      EXPECT_EQ(result.code, static_cast<long>(hold.error)) << hold.name;
      EXPECT_GE(waited, 900) << hold.name;
      EXPECT_LT(waited, 2000) << hold.name;
    }
    for (auto& holder : holders) {
      holder->Release();
    }
  }
  // Once the holders let go: the old bytes, and no temporary file left behind.
  for (const Hold& hold : kHolds) {
    EXPECT_EQ(dir.Read(hold.name + ".htm"), "old");
  }
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), (FolderNames{"undeletable.htm", "unshared.htm"}));
}

TEST(WindowsFileSystem, ListingIgnoresShortNames) {
  TempFolder dir;
  dir.Write("styles.cssx", "x");
  dir.Write("page.html5", "x");
  RealFileSystem fs;
  EXPECT_TRUE(fs.ListFolder(dir.Path(), "*.css").empty());
  EXPECT_TRUE(fs.ListFolder(dir.Path(), "*.htm").empty());
}

}  // namespace
}  // namespace quorva
