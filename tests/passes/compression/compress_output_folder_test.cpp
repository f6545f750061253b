#include "passes/compression/compress_output_folder.h"

#include <gtest/gtest.h>

#include <new>

#include "app/run.h"
#include "core/fatal_error.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

class CompressOutputFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.compression = true;
    fs.AddFile("D:/help/toc.htm", "<html>\r\n  <body>  </body>\r\n</html>\r\n");
  }
  void Compress(const std::string& toc_page = "D:/help/toc.htm") {
    RunContext run(fs, console, settings, names);
    for (const std::string& path : already_compressed) {
      // Written in final form by an earlier pass; the bytes on disk are the test's own.
      const std::string bytes = fs.Content(path);
      fs.RemoveFile(path);
      run.pages.WriteNewPage(path, bytes, true, LinkReach::kOwnFolder);
      fs.AddFile(path, bytes);
    }
    CompressOutputFolder(run, toc_page);
  }

  MemoryFileSystem fs;
  MemoryConsole console;
  RunSettings settings;
  NameList names;
  std::unordered_set<std::string> already_compressed;
};

TEST_F(CompressOutputFolderTest, GroupsInOrderWithTheirNamesSortedWithoutCase) {
  fs.AddFile("D:/help/x.html", "<p>  x  </p>");
  fs.AddFile("D:/help/x.htm.bak", "");
  fs.AddFile("D:/help/B.htm", "<p>\r\n\r\n  b</p>");
  fs.AddFile("D:/help/a.htm", "");
  fs.AddFile("D:/help/x.php3", "<?php  echo 1; ?>\r\n");
  fs.AddFile("D:/help/s.CSS", "a {\r\n  color: red;\r\n}\r\n/* end */");
  fs.AddFile("D:/help/notes.txt", "  left  alone  ");
  fs.AddFile("D:/help/sub/c.htm", "  left  alone  ");
  Compress();
  EXPECT_EQ(console.output,
            "\nCompressing HTML Files-(a.htm, B.htm, toc.htm, x.htm.bak, x.html)\n"
            "\nCompressing PHP Files-(x.php3)\n"
            "\nCompressing CSS Files-(s.CSS)\n");
  EXPECT_EQ(fs.Content("D:/help/toc.htm"), "<html>\n<body> </body>\n</html>\n");
  EXPECT_EQ(fs.Content("D:/help/B.htm"), "<p>\nb</p>");
  EXPECT_EQ(fs.Content("D:/help/x.html"), "<p> x </p>");
  EXPECT_EQ(fs.Content("D:/help/x.php3"), "<?php echo 1; ?>\n");
  EXPECT_EQ(fs.Content("D:/help/s.CSS"), "a {\ncolor:red;}\n");
  EXPECT_EQ(fs.Content("D:/help/notes.txt"), "  left  alone  ");
  EXPECT_EQ(fs.Content("D:/help/sub/c.htm"), "  left  alone  ");
}

TEST_F(CompressOutputFolderTest, UnreadableOrUnwritableEntriesAreListedAndLeftAlone) {
  fs.AddFolder("D:/help/old.htm");
  fs.AddFile("D:/help/locked.css", "a {  b: c; }");
  fs.MakeReadOnly("D:/help/locked.css");
  Compress();
  EXPECT_EQ(console.output,
            "\nCompressing HTML Files-(old.htm, toc.htm)\n"
            "\nCompressing CSS Files-(locked.css)\n");
  EXPECT_EQ(fs.Content("D:/help/locked.css"), "a {  b: c; }");
  EXPECT_EQ(fs.replacements, std::vector<std::string>{"D:/help/toc.htm"});
}

TEST_F(CompressOutputFolderTest, NothingHappensWhenOffOrWithoutTheTocPage) {
  settings.compression = false;
  Compress();
  settings.compression = true;
  Compress("D:/help/missing.htm");
  EXPECT_EQ(console.output, "");
  EXPECT_TRUE(fs.reads.empty());
  EXPECT_TRUE(fs.replacements.empty());
}

// Reading the style sheet fails as an allocation of its size would; other files read as usual.
class ExhaustedFileSystem : public MemoryFileSystem {
 public:
  std::optional<std::string> ReadBinary(const std::string& path) override {
    if (path == "out/huge.css") {
      throw std::bad_alloc();
    }
    return MemoryFileSystem::ReadBinary(path);
  }
};

TEST(CompressOutOfMemoryTest, OrAFailedWriteEndsTheRunWithExitCodeThreeAfterTheFileName) {
  ExhaustedFileSystem fs;
  MemoryConsole console;
  fs.AddFile("fsref.htm",
             "<title></title><frame src=\"toc.htm\"><frame src=\"main.htm\"></frameset>");
  fs.AddFile("out/index.htm", "<title>T</title>");
  fs.AddFile("out/toc.htm", "<a href=\"index.htm\">toc</a>");
  fs.AddFile("out/huge.css", "a {  b: c; }");
  EXPECT_EQ(RunQuorva({"fsref.htm", "out/toc.htm", "-c"}, fs, console), kExitFatal);
  const std::string tail = "\nCompressing CSS Files-(huge.cssError: Out of memory";
  ASSERT_GE(console.output.size(), tail.size());
  EXPECT_EQ(console.output.substr(console.output.size() - tail.size()), tail);
  EXPECT_EQ(fs.Content("out/huge.css"), "a {  b: c; }");

  console.output.clear();
  fs.AddFile("out/a.css", "a {  b: c; }");
  fs.FailWrites("out/a.css", {WriteOutcome::kFailed, 122, "Disk quota exceeded"});
  EXPECT_EQ(RunQuorva({"fsref.htm", "out/toc.htm", "-c"}, fs, console), kExitFatal);
  const std::string failed =
      "\nCompressing CSS Files-(a.css\nError: (out/a.css) not written: Disk quota exceeded.\n";
  ASSERT_GE(console.output.size(), failed.size());
  EXPECT_EQ(console.output.substr(console.output.size() - failed.size()), failed);
  EXPECT_EQ(fs.Content("out/a.css"), "a {  b: c; }");
}

TEST_F(CompressOutputFolderTest, FilesAlreadyWrittenCompressedAreListedButNotReadAgain) {
  fs.AddFile("D:/help/a.htm", "<p>  a  </p>");
  already_compressed.insert("D:/help/a.htm");
  Compress();
  EXPECT_EQ(console.output, "\nCompressing HTML Files-(a.htm, toc.htm)\n");
  EXPECT_EQ(fs.Content("D:/help/a.htm"), "<p>  a  </p>");
  EXPECT_EQ(fs.replacements, std::vector<std::string>{"D:/help/toc.htm"});
}

}  // namespace
}  // namespace quorva
