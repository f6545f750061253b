#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/temp_folder.h"
#include "platform/real_file_system.h"

namespace quorva {
namespace {

DWORD AttributesOf(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

TEST(WindowsFileSystem, ANameWithBytesAbove0x7FRoundTrips) {
  TempFolder dir;
  RealFileSystem fs;
  const std::string name = "caf\xE9-\xC0.htm";
  ASSERT_TRUE(fs.WriteBinary(dir / name, "old").Written());
  std::vector<std::string> listed = fs.ListFolder(dir.Path(), "*.htm*");
  ASSERT_EQ(listed, std::vector<std::string>{name});
  std::string path = dir / listed.front();
  EXPECT_TRUE(fs.IsReadable(path));
  EXPECT_EQ(fs.FileLength(path), 3u);
  EXPECT_EQ(fs.ReadBinary(path), "old");
  ASSERT_TRUE(fs.ReplaceBinary(path, "new").Written());
  EXPECT_EQ(fs.ReadBinary(path), "new");
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), std::vector<std::string>{name});
}

TEST(WindowsFileSystem, ReplaceLeavesAReadOnlyFileUntouched) {
  TempFolder dir;
  dir.Write("ro.htm", "old");
  ASSERT_TRUE(::SetFileAttributesA((dir / "ro.htm").c_str(), FILE_ATTRIBUTE_READONLY));
  RealFileSystem fs;
  EXPECT_FALSE(fs.ReplaceBinary(dir / "ro.htm", "new").Written());
  EXPECT_EQ(dir.Read("ro.htm"), "old");
  EXPECT_NE(AttributesOf(dir / "ro.htm") & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(fs.ListFolder(dir.Path(), "*"), std::vector<std::string>{"ro.htm"});
  // The folder is removed with its content only once the file may be deleted again.
  ::SetFileAttributesA((dir / "ro.htm").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFileSystem, ReplaceKeepsTheAttributes) {
  TempFolder dir;
  dir.Write("h.htm", "old");
  const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(::SetFileAttributesA((dir / "h.htm").c_str(), attributes));
  RealFileSystem fs;
  ASSERT_TRUE(fs.ReplaceBinary(dir / "h.htm", "new").Written());
  EXPECT_EQ(dir.Read("h.htm"), "new");
  EXPECT_EQ(AttributesOf(dir / "h.htm") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            attributes);
  ASSERT_TRUE(fs.WriteBinary(dir / "h.htm", "rewritten").Written());
  EXPECT_EQ(dir.Read("h.htm"), "rewritten");
}

TEST(WindowsFileSystem, DeviceNamesAreNoFiles) {
  RealFileSystem fs;
  EXPECT_EQ(fs.OpenForReading("NUL"), nullptr);
  EXPECT_FALSE(fs.ReadBinary("NUL").has_value());
  EXPECT_FALSE(fs.ReplaceBinary("NUL", "x").Written());
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
