#include "platform/real_file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include "fakes/temp_folder.h"
#include "platform/temporary_files.h"
#include "text/path.h"

namespace quorva {
namespace {

namespace stdfs = std::filesystem;

// The number the tool's temporary file names carry.
unsigned long ThisProcessId() {
#ifdef _WIN32
  return static_cast<unsigned long>(::_getpid());
#else
  return static_cast<unsigned long>(::getpid());
#endif
}

TEST(RealFileSystem, AFolderExistsButDoesNotOpenAsAFile) {
  TempFolder dir;
  dir.Write("x.htm/inner.txt", "x");
  RealFileSystem fs;
  EXPECT_TRUE(fs.IsReadable(dir / "x.htm"));
  EXPECT_EQ(fs.OpenForReading(dir / "x.htm"), nullptr);
  EXPECT_FALSE(fs.ReadBinary(dir / "x.htm").has_value());
  EXPECT_FALSE(fs.FileLength(dir / "x.htm").has_value());
  EXPECT_FALSE(fs.WriteBinary(dir / "x.htm", "data", LinkReach::kOwnFolder).Written());
  EXPECT_FALSE(fs.IsReadable(dir / "missing.htm"));
}

TEST(RealFileSystem, BinaryReadAndWriteKeepEveryByte) {
  TempFolder dir;
  RealFileSystem fs;
  const std::string bytes("a\r\nb\0c\x1A\xFF", 8);
  ASSERT_TRUE(fs.WriteBinary(dir / "f.bin", bytes, LinkReach::kOwnFolder).Written());
  EXPECT_EQ(fs.ReadBinary(dir / "f.bin"), bytes);
  EXPECT_EQ(fs.FileLength(dir / "f.bin"), 8u);
  EXPECT_EQ(ReadTextFile(fs, dir / "f.bin"), std::string("a\nb\0c", 5));
  ASSERT_TRUE(WriteTextFile(fs, dir / "t.txt", "x\ny\n", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("t.txt"), "x\r\ny\r\n");
#ifdef __linux__
  // A file whose size reads as 0 may still hold bytes: it is read to its end.
  ASSERT_EQ(fs.FileLength("/proc/self/status"), 0u);
  EXPECT_NE(fs.ReadBinary("/proc/self/status").value_or("").find("Name:"), std::string::npos);
#endif
}

TEST(RealFileSystem, ReplaceLeavesOnlyTheNewContentBehind) {
  TempFolder dir;
  dir.Write("a.htm", "old");
  RealFileSystem fs;
  ASSERT_TRUE(fs.ReplaceBinary(dir / "a.htm", "new content", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("a.htm"), "new content");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), FolderNames{"a.htm"});
  EXPECT_FALSE(fs.ReplaceBinary(dir / "missing.htm", "x", LinkReach::kOwnFolder).Written());
  EXPECT_FALSE(dir.Exists("missing.htm"));
}

TEST(RealFileSystem, AReplacedFileHasANewStampAnUnchangedOneItsOldAndAFolderNone) {
  TempFolder dir;
  dir.Write("a.htm", "same");
  dir.Write("folder.htm/inside.txt", "x");
  RealFileSystem fs;
  std::optional<FileStamp> before = fs.Stamp(dir / "a.htm");
  ASSERT_TRUE(before.has_value());
  EXPECT_EQ(before->size, 4u);
  EXPECT_TRUE(fs.Stamp(dir / "a.htm") == *before);
  // The same bytes are not written again: the file keeps its number and its times.
  ASSERT_TRUE(fs.ReplaceBinary(dir / "a.htm", "same", LinkReach::kOwnFolder).Written());
  ASSERT_TRUE(fs.WriteBinary(dir / "a.htm", "same", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(fs.Stamp(dir / "a.htm") == *before);
  // The same length and, within the clock's step, the same time: still a new stamp.
  ASSERT_TRUE(fs.ReplaceBinary(dir / "a.htm", "sane", LinkReach::kOwnFolder).Written());
  EXPECT_FALSE(fs.Stamp(dir / "a.htm") == *before);
  EXPECT_FALSE(fs.Stamp(dir / "folder.htm").has_value());
  EXPECT_FALSE(fs.Stamp(dir / "missing.htm").has_value());
}

TEST(RealFileSystem, AFileJustChangedHasNotSettled) {
  TempFolder dir;
  dir.Write("a.htm", "x");
  RealFileSystem fs;
  std::optional<FileStamp> fresh = fs.Stamp(dir / "a.htm");
  ASSERT_TRUE(fresh.has_value());
  EXPECT_FALSE(fresh->settled);
#ifndef _WIN32
  // Where times carry fractions of a second, a tenth of a second is more than one clock step.
  if (fresh->modified % 1000000000u != 0 || fresh->changed % 1000000000u != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::optional<FileStamp> later = fs.Stamp(dir / "a.htm");
    ASSERT_TRUE(later.has_value());
    EXPECT_TRUE(later->settled);
    EXPECT_TRUE(*later == *fresh);
  }
#endif
}

#ifndef _WIN32
TEST(RealFileSystem, ANewFileGetsThePermissionsOfAPlainCreate) {
  TempFolder dir;
  RealFileSystem fs;
  const mode_t saved = ::umask(002);
  const bool written = fs.WriteBinary(dir / "new.htm", "x", LinkReach::kOwnFolder).Written();
  ::umask(saved);
  ASSERT_TRUE(written);
  EXPECT_EQ(stdfs::status(dir / "new.htm").permissions(), static_cast<stdfs::perms>(0664));
}

// A folder's default ACL stands in for the umask; a new file gets what it would give.
TEST(RealFileSystem, ANewFileUnderADefaultAclGetsThePermissionsOfAPlainCreate) {
  TempFolder dir;
  // Owner read and write, nothing for group and others, in the kernel's extended-attribute form.
  const std::uint32_t header = 2;
  const std::uint16_t entries[][4] = {
      {0x01, 06, 0xFFFF, 0xFFFF}, {0x04, 0, 0xFFFF, 0xFFFF}, {0x20, 0, 0xFFFF, 0xFFFF}};
  std::string acl(reinterpret_cast<const char*>(&header), sizeof header);
  acl.append(reinterpret_cast<const char*>(entries), sizeof entries);
  if (::setxattr(dir.Path().c_str(), "system.posix_acl_default", acl.data(), acl.size(), 0) != 0) {
    GTEST_SKIP() << "no ACLs on this file system";
  }
  const mode_t saved = ::umask(022);
  const int plain = ::open((dir / "plain.htm").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  RealFileSystem fs;
  const bool written = fs.WriteBinary(dir / "new.htm", "x", LinkReach::kOwnFolder).Written();
  ::umask(saved);
  ASSERT_GE(plain, 0);
  ::close(plain);
  ASSERT_TRUE(written);
  EXPECT_EQ(stdfs::status(dir / "plain.htm").permissions(),
            stdfs::perms::owner_read | stdfs::perms::owner_write);
  EXPECT_EQ(stdfs::status(dir / "new.htm").permissions(),
            stdfs::status(dir / "plain.htm").permissions());
}

// Every mode bit stays, the set-user-ID, set-group-ID and sticky bits too, and bits the umask
// takes from a new file, however the write learns the file's state: asked on its own, kept from
// a whole read just before, or found when a rename that replaces nothing finds the name taken.
TEST(RealFileSystem, ReplaceKeepsPermissionsAndLinks) {
  TempFolder dir;
  RealFileSystem fs;
  const mode_t saved = ::umask(022);
  int round = 0;
  for (const mode_t mode : {0640, 0666, 0666, 06755, 01644, 0640, 0604}) {
    dir.Write("real.htm", "old");
    ASSERT_EQ(::chmod((dir / "real.htm").c_str(), mode), 0);
    switch (round++ % 3) {
      case 0:
        ASSERT_TRUE(fs.WriteBinary(dir / "new.htm", "x", LinkReach::kOwnFolder).Written());
        ASSERT_TRUE(fs.WriteBinary(dir / "real.htm", "new", LinkReach::kOwnFolder).Written());
        ASSERT_TRUE(fs.RemoveFile(dir / "new.htm"));
        break;
      case 1:
        ASSERT_TRUE(fs.Stamp(dir / "real.htm").has_value());
        ASSERT_EQ(fs.ReadBinary(dir / "real.htm"), "old");
        ASSERT_TRUE(fs.ReplaceBinary(dir / "real.htm", "new", LinkReach::kOwnFolder).Written());
        break;
      default:
        ASSERT_TRUE(fs.ReplaceBinary(dir / "real.htm", "new", LinkReach::kOwnFolder).Written());
    }
    EXPECT_EQ(dir.Read("real.htm"), "new");
    struct stat info;
    ASSERT_EQ(::stat((dir / "real.htm").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
  }
  ::umask(saved);
  stdfs::create_symlink(dir / "real.htm", dir / "link.htm");
  ASSERT_TRUE(fs.Stamp(dir / "link.htm").has_value());
  EXPECT_EQ(fs.ReadBinary(dir / "link.htm"), "new");
  ASSERT_TRUE(fs.ReplaceBinary(dir / "link.htm", "newer", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(stdfs::is_symlink(dir / "link.htm"));
  EXPECT_EQ(dir.Read("real.htm"), "newer");
  ASSERT_TRUE(fs.WriteBinary(dir / "link.htm", "newest", LinkReach::kOwnFolder).Written());
  EXPECT_TRUE(stdfs::is_symlink(dir / "link.htm"));
  EXPECT_EQ(dir.Read("real.htm"), "newest");
}

TEST(RealFileSystem, ReplaceLeavesAReadOnlyFileUntouched) {
  TempFolder dir;
  dir.Write("ro.htm", "old");
  stdfs::permissions(dir / "ro.htm", stdfs::perms::owner_read);
  RealFileSystem fs;
  // Its state is taken from the read just before as from the system.
  EXPECT_EQ(fs.ReadBinary(dir / "ro.htm"), "old");
  EXPECT_FALSE(fs.ReplaceBinary(dir / "ro.htm", "new", LinkReach::kOwnFolder).Written());
  EXPECT_FALSE(fs.ReplaceBinary(dir / "ro.htm", "new", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("ro.htm"), "old");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*").size(), 1u);
}
#endif

TEST(RealFileSystem, WriteCreatesOrReplacesWholeAndLeavesNoTemporaryFile) {
  TempFolder dir;
  RealFileSystem fs;
  ASSERT_TRUE(fs.WriteBinary(dir / "new.htm", "first", LinkReach::kOwnFolder).Written());
#ifndef _WIN32
  // Only a file that was there counts as replaced, a removed one too.
  EXPECT_EQ(fs.ReplacedSoFar(), 0u);
#endif
  ASSERT_TRUE(fs.WriteBinary(dir / "new.htm", "second", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("new.htm"), "second");
#ifndef _WIN32
  EXPECT_EQ(fs.ReplacedSoFar(), 1u);
  dir.Write("gone.htm", "x");
  ASSERT_TRUE(fs.RemoveFile(dir / "gone.htm"));
  EXPECT_EQ(fs.ReplacedSoFar(), 2u);
#endif
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), FolderNames{"new.htm"});
  EXPECT_FALSE(fs.WriteBinary(dir / "missing-folder/x.htm", "x", LinkReach::kOwnFolder).Written());
}

TEST(RealFileSystem, LeftoverTemporaryFilesAreRemovedAndNothingElse) {
  TempFolder dir;
  // Only the exact form the tool makes goes; names that merely start alike are the user's.
  const FolderNames kept = {
      ".quorva--1.tmp", ".quorva-1-.tmp",  ".quorva-1-2-3.tmp", ".quorva-1-2.tmp.bak",
      ".quorva-1.tmp",  ".quorva-1x2.tmp", ".QUORVA-3-4.tmp",   ".quorva-notes.tmp",
      ".quorva.htm",    "a.htm",           "quorva-1-1.tmp"};
  for (std::string_view name : kept) {
    dir.Write(std::string(name), "x");
  }
  dir.Write(".quorva-12-0.tmp", "x");
  dir.Write(".quorva-99-7.tmp", "x");
  RealFileSystem fs;
  RemoveLeftoverTemporaryFiles(fs, dir.Path());
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), kept);

  // A killed run whose process number came back may have left the very names the next write
  // takes: they are passed by, and stay.
  const std::string taken = FileNameOf(TemporaryPathBeside(dir / "a.htm", ThisProcessId()));
  const std::string prefix = taken.substr(0, taken.rfind('-') + 1);
  std::vector<std::string> leftovers;
  for (int next = std::stoi(taken.substr(prefix.size())) + 1; leftovers.size() < 3; ++next) {
    leftovers.push_back(prefix + std::to_string(next) + ".tmp");
    dir.Write(leftovers.back(), "x");
  }
  ASSERT_TRUE(fs.WriteBinary(dir / "a.htm", "new", LinkReach::kOwnFolder).Written());
  EXPECT_EQ(dir.Read("a.htm"), "new");
  for (const std::string& name : leftovers) {
    EXPECT_EQ(dir.Read(name), "x");
  }
}

TEST(RealFileSystem, ListingMatchesWithoutCaseAndSortsByName) {
  TempFolder dir;
  for (const char* name : {"b.htm", "A.HTML", "c.php", "toc.htm", "s.css"}) {
    dir.Write(name, "x");
  }
  dir.Write("z.htm/inner", "x");
  RealFileSystem fs;
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*.htm*"),
            (FolderNames{"A.HTML", "b.htm", "toc.htm", "z.htm"}));
  EXPECT_TRUE(fs.ListFolder(dir / "missing", "*").empty());
}

}  // namespace
}  // namespace quorva
