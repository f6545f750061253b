#include "frameset/page_title_cache.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

class PageTitleCacheTest : public testing::Test {
 protected:
  MemoryFileSystem files;
  PageTitleCache cache{files};
};

TEST_F(PageTitleCacheTest, EachTitleIsReadFromItsFileOnce) {
  files.AddFile("help/a.htm", "<title>Alpha</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_FALSE(cache.Title("help/missing.htm").has_value());
  EXPECT_FALSE(cache.Title("help/missing.htm").has_value());
  EXPECT_EQ(files.reads, std::vector<std::string>{"help/a.htm"});
}

TEST_F(PageTitleCacheTest, FilesWrittenOrRemovedThroughItAreReadAfresh) {
  files.AddFile("help/a.htm", "<title>Old</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Old");
  EXPECT_TRUE(cache.ReplaceBinary("help/a.htm", "<title>New</title>"));
  EXPECT_EQ(cache.Title("help/a.htm"), "New");
  EXPECT_TRUE(cache.RemoveFile("help/a.htm"));
  EXPECT_FALSE(cache.Title("help/a.htm").has_value());
  EXPECT_TRUE(cache.WriteBinary("help/a.htm", "<title>Created</title>"));
  EXPECT_EQ(cache.Title("help/a.htm"), "Created");
  EXPECT_EQ(files.Content("help/a.htm"), "<title>Created</title>");
}

TEST_F(PageTitleCacheTest, AWriteUnderAnotherSpellingOfTheNameForgetsTheTitle) {
  files.AddFile("help/Topic.htm", "<title>Old</title>");
  EXPECT_EQ(cache.Title("help/Topic.htm"), "Old");
  // As on Windows, where "TOPIC.HTM." names the same file, the page changed under that name.
  files.AddFile("help/Topic.htm", "<title>New</title>");
  EXPECT_EQ(cache.Title("help/Topic.htm"), "Old");
  cache.WriteBinary("help/TOPIC.HTM.", "<title>New</title>");
  EXPECT_EQ(cache.Title("help/Topic.htm"), "New");
}

TEST_F(PageTitleCacheTest, ATitleIsGivenOnlyForThePathItWasReadFrom) {
  files.AddFile("a/x.htm", "<title>In a</title>");
  files.AddFile("b/X.htm", "<title>In b</title>");
  EXPECT_EQ(cache.Title("a/x.htm"), "In a");
  EXPECT_EQ(cache.Title("b/X.htm"), "In b");
  EXPECT_EQ(cache.Title("a/x.htm"), "In a");
}

}  // namespace
}  // namespace quorva
