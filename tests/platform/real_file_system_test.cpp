#include "platform/real_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "fakes/temp_folder.h"
#include "platform/temporary_files.h"

namespace quorva {
namespace {

namespace stdfs = std::filesystem;

TEST(RealFileSystem, AFolderExistsButDoesNotOpenAsAFile) {
  TempFolder dir;
  dir.Write("x.htm/inner.txt", "x");
  RealFileSystem fs;
  EXPECT_TRUE(fs.IsReadable(dir / "x.htm"));
  EXPECT_EQ(fs.OpenForReading(dir / "x.htm"), nullptr);
  EXPECT_FALSE(fs.ReadBinary(dir / "x.htm").has_value());
  EXPECT_FALSE(fs.FileLength(dir / "x.htm").has_value());
  EXPECT_FALSE(fs.WriteBinary(dir / "x.htm", "data"));
  EXPECT_FALSE(fs.IsReadable(dir / "missing.htm"));
}

TEST(RealFileSystem, BinaryReadAndWriteKeepEveryByte) {
  TempFolder dir;
  RealFileSystem fs;
  const std::string bytes("a\r\nb\0c\x1A\xFF", 8);
  ASSERT_TRUE(fs.WriteBinary(dir / "f.bin", bytes));
  EXPECT_EQ(fs.ReadBinary(dir / "f.bin"), bytes);
  EXPECT_EQ(fs.FileLength(dir / "f.bin"), 8u);
  EXPECT_EQ(ReadTextFile(fs, dir / "f.bin"), std::string("a\nb\0c", 5));
  ASSERT_TRUE(WriteTextFile(fs, dir / "t.txt", "x\ny\n"));
  EXPECT_EQ(dir.Read("t.txt"), "x\r\ny\r\n");
}

TEST(RealFileSystem, ReplaceLeavesOnlyTheNewContentBehind) {
  TempFolder dir;
  dir.Write("a.htm", "old");
  RealFileSystem fs;
  ASSERT_TRUE(fs.ReplaceBinary(dir / "a.htm", "new content"));
  EXPECT_EQ(dir.Read("a.htm"), "new content");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), std::vector<std::string>{"a.htm"});
  EXPECT_FALSE(fs.ReplaceBinary(dir / "missing.htm", "x"));
  EXPECT_FALSE(dir.Exists("missing.htm"));
}

TEST(RealFileSystem, AReplacedFileHasANewStampAndAFolderNone) {
  TempFolder dir;
  dir.Write("a.htm", "same");
  dir.Write("folder.htm/inside.txt", "x");
  RealFileSystem fs;
  std::optional<FileStamp> before = fs.Stamp(dir / "a.htm");
  ASSERT_TRUE(before.has_value());
  EXPECT_EQ(before->size, 4u);
  EXPECT_TRUE(fs.Stamp(dir / "a.htm") == *before);
  // The same length and, within the clock's step, the same time: still a new stamp.
  ASSERT_TRUE(fs.ReplaceBinary(dir / "a.htm", "same"));
  EXPECT_FALSE(fs.Stamp(dir / "a.htm") == *before);
  EXPECT_FALSE(fs.Stamp(dir / "folder.htm").has_value());
  EXPECT_FALSE(fs.Stamp(dir / "missing.htm").has_value());
}

#ifndef _WIN32
TEST(RealFileSystem, ANewFileGetsThePermissionsOfAPlainCreate) {
  TempFolder dir;
  RealFileSystem fs;
  const mode_t saved = ::umask(027);
  const bool written = fs.WriteBinary(dir / "new.htm", "x");
  ::umask(saved);
  ASSERT_TRUE(written);
  EXPECT_EQ(stdfs::status(dir / "new.htm").permissions(),
            stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);
}

TEST(RealFileSystem, ReplaceKeepsPermissionsAndLinks) {
  TempFolder dir;
  dir.Write("real.htm", "old");
  stdfs::permissions(dir / "real.htm", stdfs::perms::owner_read | stdfs::perms::owner_write |
                                           stdfs::perms::group_read);
  stdfs::create_symlink(dir / "real.htm", dir / "link.htm");
  RealFileSystem fs;
  ASSERT_TRUE(fs.ReplaceBinary(dir / "link.htm", "new"));
  EXPECT_TRUE(stdfs::is_symlink(dir / "link.htm"));
  EXPECT_EQ(dir.Read("real.htm"), "new");
  EXPECT_EQ(stdfs::status(dir / "real.htm").permissions(),
            stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);
}

TEST(RealFileSystem, ReplaceLeavesAReadOnlyFileUntouched) {
  TempFolder dir;
  dir.Write("ro.htm", "old");
  stdfs::permissions(dir / "ro.htm", stdfs::perms::owner_read);
  RealFileSystem fs;
  EXPECT_FALSE(fs.ReplaceBinary(dir / "ro.htm", "new"));
  EXPECT_EQ(dir.Read("ro.htm"), "old");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*").size(), 1u);
}
#endif

TEST(RealFileSystem, WriteCreatesOrReplacesWholeAndLeavesNoTemporaryFile) {
  TempFolder dir;
  RealFileSystem fs;
  ASSERT_TRUE(fs.WriteBinary(dir / "new.htm", "first"));
  ASSERT_TRUE(fs.WriteBinary(dir / "new.htm", "second"));
  EXPECT_EQ(dir.Read("new.htm"), "second");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), std::vector<std::string>{"new.htm"});
  EXPECT_FALSE(fs.WriteBinary(dir / "missing-folder/x.htm", "x"));
}

TEST(RealFileSystem, LeftoverTemporaryFilesAreRemovedAndNothingElse) {
  TempFolder dir;
  for (const char* name :
       {".quorva-12-0.tmp", ".quorva-99-7.tmp", "a.htm", "quorva-1-1.tmp", ".quorva.htm"}) {
    dir.Write(name, "x");
  }
  RealFileSystem fs;
  RemoveLeftoverTemporaryFiles(fs, dir.Path());
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"),
            (std::vector<std::string>{".quorva.htm", "a.htm", "quorva-1-1.tmp"}));
}

TEST(RealFileSystem, ListingMatchesWithoutCaseAndSortsByName) {
  TempFolder dir;
  for (const char* name : {"b.htm", "A.HTML", "c.php", "toc.htm", "s.css"}) {
    dir.Write(name, "x");
  }
  dir.Write("z.htm/inner", "x");
  RealFileSystem fs;
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*.htm*"),
            (std::vector<std::string>{"A.HTML", "b.htm", "toc.htm", "z.htm"}));
  EXPECT_TRUE(fs.ListFolder(dir / "missing", "*").empty());
}

}  // namespace
}  // namespace quorva
