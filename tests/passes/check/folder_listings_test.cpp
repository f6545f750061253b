#include "passes/check/folder_listings.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

// A link in the wrong case is told with the spelling a listing gives first, also once the run
// has written a spelling that sorts before the one listed.
TEST(FolderListingsTest, ALinkInOtherCaseGetsTheSpellingThatSortsFirst) {
  MemoryFileSystem fs;
  fs.AddFile("help/a.htm", "");
  FolderListings listings(fs, "help/");
  std::string on_disk;
  EXPECT_EQ(listings.Locate("A.HTM", on_disk), Presence::kOtherCase);
  EXPECT_EQ(on_disk, "a.htm");
  listings.NoteWritten("A.htm");
  EXPECT_EQ(listings.Locate("A.HTM", on_disk), Presence::kOtherCase);
  EXPECT_EQ(on_disk, "A.htm");
  listings.NoteWritten("a.HTM");
  EXPECT_EQ(listings.Locate("A.HTM", on_disk), Presence::kOtherCase);
  EXPECT_EQ(on_disk, "A.htm");
  EXPECT_EQ(listings.Locate("a.htm", on_disk), Presence::kFound);
  EXPECT_EQ(listings.Locate("A.HTM", on_disk, true), Presence::kMissing);
}

}  // namespace
}  // namespace quorva
