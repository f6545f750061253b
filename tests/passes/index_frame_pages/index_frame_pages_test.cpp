#include "passes/index_frame_pages/index_frame_pages.h"

#include <gtest/gtest.h>

#include "core/fatal_error.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"
#include "fakes/toc_chain.h"

namespace quorva {
namespace {

std::string Link(const std::string& name) {
  return "<a href=\"" + name + "\">x</a>\n";
}

std::string Topic(const std::string& title) {
  return "<title>" + title + "</title>";
}

const std::string kCorner(kConsoleCorner);

class IndexFramePagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddFile("fsref.htm", "<title></title>|\"toc.htm|main.htm\n");
    format = *BuildFramesetFormat(fs, "fsref.htm");
  }
  void Walk(const std::string& toc_page = "help/toc.htm") {
    names.AddNavigationPageNames();
    RunContext run{fs, console, settings, names};
    IndexFrameWalk walk{run, format, index_title};
    ParseThisToc(walk, toc_page, 0);
  }

  MemoryFileSystem fs;
  MemoryConsole console;
  RunSettings settings;
  NameList names;
  FramesetFormat format;
  std::string index_title = "Index Title";
};

TEST_F(IndexFramePagesTest, WritesAPageBesideItsTocPageForEveryTopic) {
  fs.AddFile("help/toc.htm", Link("1.htm") + Link("toc1.htm") + Link("2.htm"));
  fs.AddFile("help/toc1.htm", Link("3.htm"));
  fs.AddFile("help/1.htm", Topic("One"));
  fs.AddFile("help/3.htm", Topic("Three"));
  Walk();
  EXPECT_EQ(console.output,
            "\n" + kCorner + "toc.htm -(1.htm, 2.htm)\n " + kCorner + "toc1.htm -(3.htm)");
  EXPECT_EQ(fs.Content("help/i1.htm"), "<title>One</title>|\"toc.htm|1.htm\r\n");
  EXPECT_EQ(fs.Content("help/i2.htm"), "<title></title>|\"toc.htm|2.htm\r\n");
  EXPECT_EQ(fs.Content("help/i3.htm"), "<title>Three</title>|\"toc1.htm|3.htm\r\n");
  EXPECT_EQ(fs.writes, (std::vector<std::string>{"help/i1.htm", "help/i2.htm", "help/i3.htm"}));
}

// A topic named like another topic's index frame page is overwritten by that page first.
TEST_F(IndexFramePagesTest, APageWrittenByTheWalkGivesItsNewTitle) {
  fs.AddFile("help/toc.htm", Link("a.htm") + Link("ia.htm"));
  fs.AddFile("help/a.htm", Topic("Alpha"));
  fs.AddFile("help/ia.htm", Topic("User IA"));
  names.AddNavigationPageNames();
  RunContext run{fs, console, settings, names};
  // The menu pass reads every title before this walk.
  EXPECT_EQ(run.titles.Title("help/ia.htm"), "User IA");
  IndexFrameWalk walk{run, format, index_title};
  ParseThisToc(walk, "help/toc.htm", 0);
  EXPECT_EQ(fs.Content("help/iia.htm"), "<title>Alpha</title>|\"toc.htm|ia.htm\r\n");
}

TEST_F(IndexFramePagesTest, EachTopicAndTocPageIsHandledOnceByTheFirstPageListingIt) {
  fs.AddFile("help/toc.htm", Link("a.htm") + Link("toc2.htm") + Link("toc.htm") +
                                 Link("TAB_TOC.HTM") + Link("indexpage.html") +
                                 Link("top_top.htm") + Link("TOC5.HTM"));
  fs.AddFile("help/toc2.htm", Link("A.HTM") + Link("toc2.htm") + Link("b.htm"));
  Walk();
  EXPECT_EQ(console.output,
            "\n" + kCorner + "toc.htm -(a.htm, TOC5.HTM)\n " + kCorner + "toc2.htm -(b.htm)");
  EXPECT_EQ(fs.Content("help/ia.htm"), "<title></title>|\"toc.htm|a.htm\r\n");
  EXPECT_EQ(fs.Content("help/iTOC5.HTM"), "<title></title>|\"toc.htm|TOC5.HTM\r\n");
  EXPECT_FALSE(fs.HasFile("help/iA.HTM"));
  EXPECT_FALSE(fs.HasFile("help/itoc.htm"));
  EXPECT_FALSE(fs.HasFile("help/itoc2.htm"));
  EXPECT_FALSE(fs.HasFile("help/iTAB_TOC.HTM"));
}

TEST_F(IndexFramePagesTest, MissingNestedPageIsReportedAndTheWalkGoesOn) {
  fs.AddFile("help/toc.htm", Link("toc8.htm") + Link("toc9.htm") + Link("1.htm"));
  fs.AddFile("help/toc9.htm", Link("9.htm"));
  Walk();
  EXPECT_EQ(console.output, "\n" + kCorner + "toc.htm -(1.htm)" +
                                "\n ParseThisToc - Error help/toc8.htm NOT found.\n" + "\n " +
                                kCorner + "toc9.htm -(9.htm)");
  EXPECT_EQ(console.key_waits, 1);
  fs.AddFolder("help/tocdir.htm");
  console.output.clear();
  names.ReleaseListedNames();
  Walk("help/tocdir.htm");
  EXPECT_EQ(console.output, "\n ParseThisToc - Error help/tocdir.htm NOT found.\n");
}

TEST_F(IndexFramePagesTest, TitleSlotFollowsTheSettingAndTheTemplate) {
  fs.AddFile("help/toc.htm", Link("1.htm"));
  fs.AddFile("help/1.htm", Topic("One"));
  settings.per_topic_titles = false;
  Walk();
  EXPECT_EQ(fs.Content("help/i1.htm"), "<title>Index Title</title>|\"toc.htm|1.htm\r\n");
  fs.AddFile("fsref.htm", "\"toc.htm|main.htm");
  format = *BuildFramesetFormat(fs, "fsref.htm");
  settings.per_topic_titles = true;
  names.ReleaseListedNames();
  Walk();
  EXPECT_EQ(fs.Content("help/i1.htm"), "\"toc.htm|1.htm");
}

TEST_F(IndexFramePagesTest, LongNamesAreCutToTheirSlotsAndPageNames) {
  std::string name = std::string(256, 'n') + ".htm";
  fs.AddFile("help/toc.htm", Link(name));
  Walk();
  std::string page = "help/i" + name.substr(0, 254);
  EXPECT_EQ(fs.Content(page), "<title></title>|\"toc.htm|" + name.substr(0, 259) + "\r\n");
}

TEST_F(IndexFramePagesTest, ThirtyTwoLevelsAreWalkedAndTheThirtyThirdStopsTheRun) {
  AddTocChain(fs, 32);
  Walk();
  EXPECT_TRUE(fs.HasFile("help/it31.htm"));
  names.ReleaseListedNames();
  console.output.clear();
  AddTocChain(fs, 33);
  try {
    Walk();
    FAIL() << "a 33-deep chain was walked";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "Error: TOC level depth exceeded 31.");
  }
  const std::string tail = DeepestProgressHead();
  EXPECT_EQ(console.output.substr(console.output.size() - tail.size()), tail);
  EXPECT_FALSE(fs.HasFile("help/it32.htm"));
}

}  // namespace
}  // namespace quorva
