#include "text/path.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

TEST(SplitPath, TakesDriveFolderBaseAndExtension) {
  PathParts parts = SplitPath("D:\\help\\sub/toc3.htm");
  EXPECT_EQ(parts.drive, "D:");
  EXPECT_EQ(parts.folder, "\\help\\sub/");
  EXPECT_EQ(parts.base, "toc3");
  EXPECT_EQ(parts.extension, ".htm");
}

TEST(SplitPath, FolderFormsOfTheOutputArgument) {
  PathParts trailing = SplitPath("D:\\help\\");
  EXPECT_EQ(trailing.folder, "\\help\\");
  EXPECT_EQ(trailing.base, "");
  PathParts bare = SplitPath("D:\\help");
  EXPECT_EQ(bare.folder, "\\");
  EXPECT_EQ(bare.base, "help");
  EXPECT_EQ(bare.extension, "");
  PathParts relative = SplitPath("toc.htm");
  EXPECT_EQ(relative.drive + relative.folder, "");
}

TEST(SplitPath, ExtensionStartsAtTheLastDotOfTheName) {
  PathParts parts = SplitPath("out.d/x.htm.bak");
  EXPECT_EQ(parts.folder, "out.d/");
  EXPECT_EQ(parts.base, "x.htm");
  EXPECT_EQ(parts.extension, ".bak");
  EXPECT_EQ(SplitPath("dir.v2/readme").extension, "");
}

TEST(MakePath, AddsSeparatorAndDotOnlyWhereMissing) {
  EXPECT_EQ(MakePath("D:", "\\help\\", "toc", ".htm"), "D:\\help\\toc.htm");
  EXPECT_EQ(MakePath("", "out", "index", "htm"), std::string("out") + kSep + "index.htm");
  EXPECT_EQ(MakePath("", "out/", "*", "htm*"), "out/*.htm*");
  EXPECT_EQ(MakePath("", "", "1234.htm", ""), "1234.htm");
}

TEST(PathBeside, NamesAFileInTheFolderOfAnother) {
  EXPECT_EQ(PathBeside("help/toc.htm", "toc3.htm"), "help/toc3.htm");
  EXPECT_EQ(PathBeside("toc.htm", "a.htm"), "a.htm");
  EXPECT_EQ(FileNameOf("C:\\x\\topic12.htm"), "topic12.htm");
  // A drive without a folder stays with the folder, never with the name.
  EXPECT_EQ(PathBeside("C:toc.htm", "a.htm"), "C:a.htm");
  EXPECT_EQ(FileNameOf("C:toc.htm"), "toc.htm");
  EXPECT_EQ(FolderOf("D:\\help\\sub/toc3.htm"), "D:\\help\\sub/");
  EXPECT_EQ(FolderOf("C:"), "C:");
  EXPECT_EQ(FolderOf("toc.htm"), "");
}

}  // namespace
}  // namespace quorva
