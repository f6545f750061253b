#include "passes/breadcrumbs/breadcrumb_walk.h"

#include <gtest/gtest.h>

#include "core/fatal_error.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"
#include "fakes/toc_chain.h"
#include "passes/breadcrumbs/other_topics.h"

namespace quorva {
namespace {

const std::string kCorner(kConsoleCorner);
const std::string kSeparator = "<b>&nbsp;&raquo;&nbsp;</b>";

std::string Links(std::initializer_list<const char*> names) {
  std::string page;
  for (const char* name : names) {
    page += std::string("<a href=\"") + name + "\">x</a>\n";
  }
  return page;
}

std::string First(const std::string& name, const std::string& title) {
  return "<a class=\"bread\" href=\"" + name + "\">" + title + "</a>";
}

std::string Deeper(const std::string& name, const std::string& title) {
  return kSeparator + First(name, title) + "\r\n";
}

class BreadcrumbWalkTest : public ::testing::Test {
 protected:
  void AddTopic(const std::string& name, const std::string& title) {
    fs.AddFile("help/" + name, "<title>" + title + "</title><BREAD>");
  }
  std::string TrailOf(const std::string& name) {
    std::string content = fs.Content("help/" + name);
    std::size_t start = content.find("</title>");
    return start == std::string::npos ? content : content.substr(start + 8);
  }
  void Walk() {
    names.AddNavigationPageNames();
    RunContext run(fs, console, settings, names);
    ParseThisBreadToc(run, "help/toc.htm", "", 0);
  }
  void WalkAndOthers() {
    Walk();
    RunContext run(fs, console, settings, names);
    ModifyOtherTopics(run, "help/toc.htm");
  }

  MemoryFileSystem fs;
  MemoryConsole console;
  RunSettings settings;
  NameList names;
};

TEST_F(BreadcrumbWalkTest, NestedPageTakesTheTrailOfTheTopicItPrecedes) {
  fs.AddFile("help/toc.htm", Links({"a.htm", "toc1.htm", "b.htm"}));
  fs.AddFile("help/toc1.htm", Links({"c.htm"}));
  AddTopic("a.htm", "A");
  AddTopic("b.htm", "B");
  AddTopic("c.htm", "C");
  Walk();
  EXPECT_EQ(console.output,
            "\n" + kCorner + "toc.htm -(a.htm, b.htm)\n " + kCorner + "toc1.htm -(c.htm)");
  EXPECT_EQ(TrailOf("a.htm"), First("a.htm", "A"));
  EXPECT_EQ(TrailOf("b.htm"), First("b.htm", "B"));
  EXPECT_EQ(TrailOf("c.htm"), First("b.htm", "B") + Deeper("c.htm", "C"));
  EXPECT_EQ(fs.replacements, (std::vector<std::string>{"help/a.htm", "help/b.htm", "help/c.htm"}));
}

TEST_F(BreadcrumbWalkTest, UnattachedNestedPagesAreClaimedButNeverWalked) {
  fs.AddFile("help/toc.htm", Links({"toc1.htm", "toc2.htm", "a.htm", "toc3.htm"}));
  fs.AddFile("help/toc1.htm", Links({"x.htm"}));
  fs.AddFile("help/toc2.htm", Links({"y.htm"}));
  fs.AddFile("help/toc3.htm", Links({"z.htm"}));
  AddTopic("x.htm", "X");
  AddTopic("z.htm", "Z");
  WalkAndOthers();
  EXPECT_EQ(console.output, "\n" + kCorner + "toc.htm -(a.htm)\n " + kCorner +
                                "toc2.htm -(y.htm)\nOther topics -(x.htm, z.htm)\n");
  EXPECT_EQ(TrailOf("x.htm"), First("x.htm", "X"));
}

TEST_F(BreadcrumbWalkTest, FirstPageInWalkOrderClaimsATopic) {
  fs.AddFile("help/toc.htm", Links({"a.htm", "toc1.htm", "b.htm", "toc2.htm", "d.htm"}));
  fs.AddFile("help/toc1.htm", Links({"A.HTM", "c.htm", "toc.htm", "indexpage.htm"}));
  fs.AddFile("help/toc2.htm", Links({"c.htm", "e.htm"}));
  AddTopic("a.htm", "A");
  AddTopic("c.htm", "C");
  Walk();
  EXPECT_EQ(console.output, "\n" + kCorner + "toc.htm -(a.htm, b.htm, d.htm)\n " + kCorner +
                                "toc1.htm -(c.htm)\n " + kCorner + "toc2.htm -(e.htm)");
  EXPECT_EQ(TrailOf("a.htm"), First("a.htm", "A"));
  EXPECT_EQ(TrailOf("c.htm"), First("b.htm", "") + Deeper("c.htm", "C"));
}

// Names go into the list with their case folded, so a page listing itself is not new to it.
TEST_F(BreadcrumbWalkTest, ATocPageThatListsItselfIsWalkedOnce) {
  fs.AddFile("help/toc.htm", Links({"tocB.htm", "A.htm"}));
  fs.AddFile("help/tocB.htm", Links({"tocB.htm", "B.htm"}));
  Walk();
  EXPECT_EQ(console.output, "\n" + kCorner + "toc.htm -(A.htm)\n " + kCorner + "tocB.htm -(B.htm)");
}

TEST_F(BreadcrumbWalkTest, UppercaseTocIsATopicAndLowercaseTocWordIsATocPage) {
  fs.AddFile("help/toc.htm", Links({"TOC1.htm", "tocsin.htm", "PAGE.Htm", "x.htm.bak"}));
  AddTopic("TOC1.htm", "Upper");
  AddTopic("tocsin.htm", "Tocsin");
  Walk();
  EXPECT_EQ(console.output,
            "\n" + kCorner + "toc.htm -(TOC1.htm, x.htm.bak)\n " + kCorner + "tocsin.htm -()");
  EXPECT_EQ(TrailOf("TOC1.htm"), First("TOC1.htm", "Upper"));
  EXPECT_EQ(TrailOf("tocsin.htm"), "<BREAD>");
}

TEST_F(BreadcrumbWalkTest, BreadcrumbsOffStillRewritesTopics) {
  settings.breadcrumbs = false;
  settings.file_name_marker = true;
  fs.AddFile("help/toc.htm", Links({"a.htm"}));
  fs.AddFile("help/a.htm", "<BREAD><FILENAME>\n");
  Walk();
  EXPECT_EQ(fs.Content("help/a.htm"), "<BREAD>a.htm\r\n");
}

TEST_F(BreadcrumbWalkTest, ThirtyTwoLevelsAreWalkedAndTheThirtyThirdStopsTheRun) {
  auto chain = [&](int pages) {
    AddTocChain(fs, pages);
    for (int i = 1; i < pages; ++i) {
      AddTopic("t" + std::to_string(i) + ".htm", "T" + std::to_string(i));
    }
  };
  chain(32);
  Walk();
  EXPECT_EQ(TrailOf("t31.htm").substr(0, 25), First("t0.htm", "").substr(0, 25));
  EXPECT_NE(TrailOf("t31.htm").find(Deeper("t31.htm", "T31")), std::string::npos);
  names.ReleaseListedNames();
  console.output.clear();
  chain(33);
  EXPECT_THROW(Walk(), FatalError);
  const std::string tail = DeepestProgressHead();
  EXPECT_EQ(console.output.substr(console.output.size() - tail.size()), tail);
  EXPECT_EQ(TrailOf("t32.htm"), "<BREAD>");
}

TEST_F(BreadcrumbWalkTest, OtherTopicsGetTheirOwnFirstLevelLink) {
  fs.AddFile("help/toc.htm", Links({"a.htm"}));
  AddTopic("a.htm", "A");
  AddTopic("orphan.htm", "Orphan");
  AddTopic("page.html", "Html");
  AddTopic("TOC7.HTM", "Seven");
  AddTopic("toc7.htm", "lower");
  AddTopic("tocold.htm", "Old");
  AddTopic("x.php", "Php");
  fs.AddFile("help/ia.htm", "frames");
  WalkAndOthers();
  EXPECT_EQ(console.output, "\n" + kCorner +
                                "toc.htm -(a.htm)\nOther topics -(ia.htm, orphan.htm, page.html, "
                                "TOC7.HTM)\n");
  EXPECT_EQ(TrailOf("orphan.htm"), First("orphan.htm", "Orphan"));
  EXPECT_EQ(TrailOf("TOC7.HTM"), First("TOC7.HTM", "Seven"));
  EXPECT_EQ(TrailOf("toc7.htm"), "<BREAD>");
  EXPECT_EQ(TrailOf("tocold.htm"), "<BREAD>");
  EXPECT_EQ(TrailOf("x.php"), "<BREAD>");
  EXPECT_EQ(fs.Content("help/ia.htm"), "frames");
}

TEST_F(BreadcrumbWalkTest, NothingLeftOverPrintsNothing) {
  fs.AddFile("help/toc.htm", Links({"a.htm", "index.htm"}));
  AddTopic("a.htm", "A");
  fs.AddFile("help/index.htm", "<title>I</title>");
  WalkAndOthers();
  EXPECT_EQ(console.output, "\n" + kCorner + "toc.htm -(a.htm, index.htm)");
}

}  // namespace
}  // namespace quorva
