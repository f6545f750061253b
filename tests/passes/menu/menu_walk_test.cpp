#include "passes/menu/menu_walk.h"

#include <gtest/gtest.h>

#include "core/fatal_error.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"
#include "fakes/toc_chain.h"
#include "passes/menu/menu_pass.h"

namespace quorva {
namespace {

const std::string kCorner(kConsoleCorner);

std::string Body(std::initializer_list<const char*> targets) {
  std::string page = "<html><body>";
  for (const char* target : targets) {
    page += std::string("<a href=\"") + target + "\">" + target + "</a>\n";
  }
  return page + "</body></html>";
}

// The targets of the menu's entries in the order they stand, each with its level.
std::vector<std::string> EntriesOf(const std::string& menu) {
  std::vector<std::string> entries;
  for (std::size_t at = menu.find("<li><a "); at != std::string::npos;
       at = menu.find("<li><a ", at + 1)) {
    std::size_t line = menu.rfind('\n', at);
    std::size_t indent = at - (line == std::string::npos ? 0 : line + 1);
    std::size_t href = menu.find("href=\"", at) + 6;
    std::string target = menu.substr(href, menu.find('"', href) - href);
    entries.push_back(std::to_string(indent / 4 - 2) + ":" + target);
  }
  return entries;
}

using Entries = std::vector<std::string>;

class MenuWalkTest : public ::testing::Test {
 protected:
  std::string Walk() {
    RunContext run(fs, console, settings, names);
    names.AddNavigationPageNames();
    MenuMarkup markup(settings, run.menu);
    ParseThisMenuToc(run, markup, "help/toc.htm", 0, 0);
    return run.menu;
  }
  void AddItem(int level, int position, int parent, const std::string& target) {
    settings.extra_menu_items.push_back({level, position, parent, target, "X", "T"});
  }

  MemoryFileSystem fs;
  MemoryConsole console;
  RunSettings settings;
  NameList names;
};

TEST_F(MenuWalkTest, BooksOpenDropDownsAndEachTargetIsKeptOnce) {
  fs.AddFile("help/toc.htm",
             Body({"toc1.htm", "a.htm", "b.htm", "A.HTM", "TOP_TOP.HTM", "s.css", "c.Htm"}));
  fs.AddFile("help/toc1.htm", Body({"c.htm", "b.htm", "toc1.htm", "d.php"}));
  EXPECT_EQ(EntriesOf(Walk()), (Entries{"0:a.htm", "1:c.htm", "1:d.php", "0:b.htm"}));
  EXPECT_EQ(console.output,
            "\n" + kCorner + "toc.htm -(a.htm, b.htm)\n " + kCorner + "toc1.htm -(c.htm, d.php)");
}

TEST_F(MenuWalkTest, LinksBeforeTheBodyAndPagesWithoutOneContributeNothing) {
  fs.AddFile("help/toc.htm",
             "<link href=\"x.htm\"><body><a HREF=\"toc1.htm\"></a>"
             "<a Href=\"y.htm\">Y</a>");
  fs.AddFile("help/toc1.htm", "<a href=\"z.htm\">no body</a>");
  EXPECT_EQ(EntriesOf(Walk()), Entries{"0:y.htm"});
  EXPECT_EQ(console.output, "\n" + kCorner + "toc.htm -(y.htm)\n " + kCorner + "toc1.htm -(");
}

TEST_F(MenuWalkTest, BookLinkLastOnItsPageHasAnEmptyTarget) {
  fs.AddFile("help/toc.htm", Body({"a.htm", "toc1.htm"}));
  fs.AddFile("help/toc1.htm", Body({"b.htm"}));
  std::string menu = Walk();
  EXPECT_EQ(EntriesOf(menu), (Entries{"0:a.htm", "0:.", "1:b.htm"}));
  EXPECT_EQ(console.output,
            "\n" + kCorner + "toc.htm -(a.htm, )\n " + kCorner + "toc1.htm -(b.htm)");
}

TEST_F(MenuWalkTest, MissingNestedPageLeavesAnEmptyDropDown) {
  fs.AddFile("help/toc.htm", Body({"toc9.htm", "a.htm", "b.htm"}));
  std::string menu = Walk();
  EXPECT_EQ(EntriesOf(menu), (Entries{"0:a.htm", "0:b.htm"}));
  EXPECT_NE(menu.find("<ul class=\"downlevel\">\n            </ul>"), std::string::npos);
  EXPECT_EQ(console.output, "\n" + kCorner +
                                "toc.htm -(a.htm, b.htm)\n ParseThisMenuToc - Error "
                                "help/toc9.htm NOT found.\n");
  EXPECT_EQ(console.key_waits, 1);
}

TEST_F(MenuWalkTest, ExtraItemsTakeTheirPositionsWhileTocEntriesRemain) {
  fs.AddFile("help/toc.htm", Body({"e0.htm", "e1.htm", "e2.htm"}));
  AddItem(0, 2, 0, "second.htm");
  AddItem(0, 1, 0, "first.htm");
  AddItem(0, 1, 0, "duplicate.htm");
  AddItem(0, 5, 0, "past.htm");
  AddItem(-1, 0, 0, "negative.htm");
  AddItem(0, 0, 3, "wrong-parent.htm");
  EXPECT_EQ(EntriesOf(Walk()),
            (Entries{"0:e0.htm", "0:first.htm", "0:second.htm", "0:e1.htm", "0:e2.htm"}));
  settings.extra_menu_items.clear();
  names.ReleaseListedNames();
  AddItem(0, 3, 0, "after-last.htm");
  EXPECT_EQ(EntriesOf(Walk()), (Entries{"0:e0.htm", "0:e1.htm", "0:e2.htm"}));
}

TEST_F(MenuWalkTest, DeepExtraItemsGoIntoEveryListUnderAParentAtTheirPosition) {
  fs.AddFile("help/toc.htm", Body({"toc1.htm", "a.htm"}));
  fs.AddFile("help/toc1.htm", Body({"toc2.htm", "b.htm", "toc3.htm", "c.htm"}));
  fs.AddFile("help/toc2.htm", Body({"d.htm"}));
  fs.AddFile("help/toc3.htm", Body({"e.htm"}));
  AddItem(2, 0, 0, "x.htm");
  AddItem(2, 0, 1, "y.htm");
  EXPECT_EQ(EntriesOf(Walk()),
            (Entries{"0:a.htm", "1:b.htm", "2:x.htm", "2:d.htm", "1:c.htm", "2:y.htm", "2:e.htm"}));
}

TEST_F(MenuWalkTest, ThirtyTwoLevelsAreWalkedAndTheThirtyThirdStopsTheRun) {
  AddTocChain(fs, 32);
  EXPECT_EQ(EntriesOf(Walk()).back(), "31:t31.htm");
  names.ReleaseListedNames();
  console.output.clear();
  AddTocChain(fs, 33);
  EXPECT_THROW(Walk(), FatalError);
  const std::string tail = DeepestProgressHead();
  EXPECT_EQ(console.output.substr(console.output.size() - tail.size()), tail);
}

TEST(ScanMenuLink, TakesTheQuotedTargetAndTheTextUpToTheNextTag) {
  std::string target;
  std::string text;
  std::size_t position = 0;
  std::string body = "<body><a HREF=\" ../a b.htm#x \"> A  text <b>bold</b></a>";
  ASSERT_TRUE(ScanMenuLink(body, target, text, position));
  EXPECT_EQ(target, "../a b.htm#x");
  EXPECT_EQ(text, "A  text");
  EXPECT_EQ(body[position - 1], '<');
  std::string bold = "<a href=\"b.htm\"><b>B</b></a>";
  position = 0;
  ASSERT_TRUE(ScanMenuLink(bold, target, text, position));
  EXPECT_EQ(text, "");
  std::string unquoted = "<a href=c.htm>C</a><a href=\"d.htm\">D</a>";
  position = 0;
  ASSERT_TRUE(ScanMenuLink(unquoted, target, text, position));
  EXPECT_EQ(target, "d.htm");
  position = 0;
  EXPECT_FALSE(ScanMenuLink("<a>no link</a>", target, text, position));
  EXPECT_EQ(position, 14u);
}

TEST(BuildMenu, WrapsTheEntriesAndWritesThePage) {
  MemoryFileSystem fs;
  MemoryConsole console;
  RunSettings settings;
  NameList names;
  // The navigation pages a TOC page lists get no entry.
  fs.AddFile("help/toc.htm", Body({"tab_toc.htm", "a.htm", "TOP_TOP.HTM", "indexpage.htm"}));
  settings.menu_wrapper = false;
  settings.menu_page_name = "menu.htm";
  RunContext run(fs, console, settings, names);
  BuildMenu(run, "help/toc.htm");
  EXPECT_EQ(run.menu,
            "        <li><a class=\"menubutton\" href=\"a.htm\">&nbsp; a.htm &nbsp;</a></li>\n");
  EXPECT_EQ(fs.Content("menu.htm"),
            "        <li><a class=\"menubutton\" href=\"a.htm\">&nbsp; a.htm &nbsp;</a></li>\r\n");
  EXPECT_EQ(console.output, "\n\nCreating menu.htm.\n\n" + kCorner + "toc.htm -(a.htm)");
}

}  // namespace
}  // namespace quorva
