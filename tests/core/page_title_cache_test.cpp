#include "core/page_title_cache.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

class PageTitleCacheTest : public testing::Test {
 protected:
  MemoryFileSystem files;
  StringTable paths;
  PageTitleCache cache{files, paths};
};

TEST_F(PageTitleCacheTest, EachTitleIsReadFromAnUnchangedFileOnce) {
  files.AddFile("help/a.htm", "<title>Alpha</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_FALSE(cache.Title("help/missing.htm").has_value());
  EXPECT_EQ(files.reads, std::vector<std::string>{"help/a.htm"});
}

TEST_F(PageTitleCacheTest, AFileChangedSinceItsTitleWasReadIsReadAfresh) {
  files.AddFile("help/a.htm", "<title>Old</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Old");
  files.ReplaceBinary("help/a.htm", "<title>New</title>", LinkReach::kOwnFolder);
  EXPECT_EQ(cache.Title("help/a.htm"), "New");
  // The same length as before: only the stamp tells the change.
  files.AddFile("help/a.htm", "<title>Now</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Now");
  files.RemoveFile("help/a.htm");
  EXPECT_FALSE(cache.Title("help/a.htm").has_value());
  files.WriteBinary("help/a.htm", "<title>Created</title>", LinkReach::kOwnFolder);
  EXPECT_EQ(cache.Title("help/a.htm"), "Created");
  // A shorter title takes the longer one's room, and only its own length of it.
  files.AddFile("help/b.htm", "<title>Bee</title>");
  EXPECT_EQ(cache.Title("help/b.htm"), "Bee");
  files.ReplaceBinary("help/a.htm", "<title>Cut</title>", LinkReach::kOwnFolder);
  EXPECT_EQ(cache.Title("help/a.htm"), "Cut");
  EXPECT_EQ(cache.Title("help/b.htm"), "Bee");
}

// Its times may not show the next change yet, so such a file's title is read every time.
// Where the run's replacements are counted, a file's state is asked again only once the run has
// replaced or removed some file, whatever its name, since the title was last found current.
TEST_F(PageTitleCacheTest, AStateIsAskedAgainOnlyOnceTheRunHasReplacedSomeFile) {
  files.counts_replaced = true;
  files.AddFile("help/a.htm", "<title>Alpha</title>");
  files.AddFile("help/b.htm", "<title>Bee</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  files.stamps_asked = 0;
  files.WriteBinary("help/new.htm", "<title>New</title>", LinkReach::kOwnFolder);
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_EQ(files.stamps_asked, 0);
  files.ReplaceBinary("help/b.htm", "<title>Other</title>", LinkReach::kOwnFolder);
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_EQ(cache.Title("help/a.htm"), "Alpha");
  EXPECT_EQ(files.stamps_asked, 1);
  files.ReplaceBinary("help/a.htm", "<title>Now</title>", LinkReach::kOwnFolder);
  EXPECT_EQ(cache.Title("help/a.htm"), "Now");
  EXPECT_EQ(cache.Title("help/b.htm"), "Other");
  files.RemoveFile("help/new.htm");
  files.AddFile("help/b.htm", "<title>Gone</title>");
  EXPECT_EQ(cache.Title("help/b.htm"), "Gone");
  EXPECT_EQ(files.reads,
            (std::vector<std::string>{"help/a.htm", "help/a.htm", "help/b.htm", "help/b.htm"}));
}

TEST_F(PageTitleCacheTest, AFileChangedJustNowIsReadEveryTime) {
  files.AddFile("help/a.htm", "<title>Fresh</title>");
  files.stamps_settled = false;
  EXPECT_EQ(cache.Title("help/a.htm"), "Fresh");
  EXPECT_EQ(cache.Title("help/a.htm"), "Fresh");
  files.stamps_settled = true;
  EXPECT_EQ(cache.Title("help/a.htm"), "Fresh");
  EXPECT_EQ(cache.Title("help/a.htm"), "Fresh");
  EXPECT_EQ(files.reads, std::vector<std::string>(3, "help/a.htm"));
}

// A dry run lets go of a page it wrote: a title asked for before is taken from the bytes
// written, one never asked for is not kept.
TEST_F(PageTitleCacheTest, ATitleAskedForBeforeIsTakenFromTheBytesTheRunWrote) {
  // A page the run knows otherwise (as finished, say) but never asks the title of.
  paths.Add("help/b.htm");
  files.AddFile("help/a.htm", "<title>Old</title>");
  EXPECT_EQ(cache.Title("help/a.htm"), "Old");
  files.ReplaceBinary("help/a.htm", "<title>New</title>", LinkReach::kOwnFolder);
  cache.Learn("help/a.htm", "<title>New</title>");
  files.WriteBinary("help/b.htm", "<title>Bee</title>", LinkReach::kOwnFolder);
  cache.Learn("help/b.htm", "<title>Bee</title>");
  files.reads.clear();
  EXPECT_EQ(cache.Title("help/a.htm"), "New");
  EXPECT_EQ(cache.Title("help/b.htm"), "Bee");
  EXPECT_EQ(files.reads, std::vector<std::string>{"help/b.htm"});
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
