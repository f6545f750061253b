#include "passes/breadcrumbs/topic_rewriting.h"

#include <gtest/gtest.h>

#include "core/fatal_error.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

class TopicRewritingTest : public ::testing::Test {
 protected:
  // The topic's text after one rewrite with `trail`, line ends as written.
  std::string Rewrite(const std::string& topic, const std::string& trail = "T") {
    fs.AddFile("help/t12.htm", topic);
    RunContext run(fs, console, settings, names);
    run.menu = menu;
    EXPECT_TRUE(ReplaceMarkerComponents(run, "help/t12.htm", trail));
    return fs.Content("help/t12.htm");
  }
  std::string Link(const std::string& name, int level) {
    RunContext run(fs, console, settings, names);
    return MakeBreadLink(run, "help/toc.htm", name, level);
  }

  MemoryFileSystem fs;
  MemoryConsole console;
  RunSettings settings;
  NameList names;
  std::string menu = "[menu]";
};

TEST_F(TopicRewritingTest, BreadMarkersInAnyCaseFirstTwoOnly) {
  EXPECT_EQ(Rewrite("<bread>|<Bread>|<BREAD>"), "T|T|<BREAD>");
  EXPECT_EQ(Rewrite("< BREAD>|<BREAD >|<BRE AD>"), "< BREAD>|<BREAD >|<BRE AD>");
  EXPECT_EQ(Rewrite("<BREAD>x", ""), "x");
  settings.breadcrumbs = false;
  EXPECT_EQ(Rewrite("<BREAD>|<FILENAME>"), "<BREAD>|<FILENAME>");
}

TEST_F(TopicRewritingTest, MenuMarkersFollowTheMenuMode) {
  EXPECT_EQ(Rewrite("<MENU>|<menu>|<Menu>"), "<MENU>|<menu>|<Menu>");
  settings.handle_menu_markers = true;
  EXPECT_EQ(Rewrite("<MENU>|<menu>|<Menu>"), "||<Menu>");
  settings.build_menu = true;
  EXPECT_EQ(Rewrite("<MENU>|<menu>|<Menu>"), "[menu]|[menu]|<Menu>");
}

TEST_F(TopicRewritingTest, SnippetMarkersOnceAnySnippetWasRead) {
  const std::string markers = "<PANEL1>|<panel2>|<PANEL9>|<PANEL:>|<PANEL0>";
  EXPECT_EQ(Rewrite(markers), markers);
  settings.snippets_loaded = true;
  settings.snippets[0] = "one";
  settings.snippets[1] = "";
  EXPECT_EQ(Rewrite(markers + "<PANEL1>"), "one||||<PANEL0>one");
  // The marker of a slot whose file could not be read stays for a later run to fill.
  settings.snippet_unread[8] = true;
  EXPECT_EQ(Rewrite(markers), "one||<PANEL9>||<PANEL0>");
}

TEST_F(TopicRewritingTest, FileNameIsTheTopicsOwnNameWithoutFolder) {
  EXPECT_EQ(Rewrite("<FILENAME>"), "<FILENAME>");
  settings.file_name_marker = true;
  EXPECT_EQ(Rewrite("<FILENAME>|<filename>|<FileName>"), "t12.htm|t12.htm|t12.htm");
}

TEST_F(TopicRewritingTest, InsertedTextTakesPartInTheLaterChecksOfItsCycle) {
  settings.snippets_loaded = true;
  settings.file_name_marker = true;
  settings.snippets[0] = "file <FILENAME>";
  EXPECT_EQ(Rewrite("<PANEL1>"), "file t12.htm");
  // The trail is inserted after the menu check, so a menu marker in it stays.
  settings.handle_menu_markers = true;
  EXPECT_EQ(Rewrite("<BREAD>", "x<MENU>"), "x<MENU>");
  // Text left by a removed marker combines with the next characters.
  EXPECT_EQ(Rewrite("<BREAD<MENU>>"), "T");
  // What a removed marker leaves is looked at as it is: no snippet marker ends in "X".
  EXPECT_EQ(Rewrite("q<PANEL1X<MENU>z"), "q<PANEL1Xz");
  // Where a marker's "<" would stand before the text's start, nothing before it is read.
  EXPECT_EQ(Rewrite("<BREAD>menu>", ""), "menu>");
  // A marker begun by inserted text is completed by the topic's own characters.
  settings.snippets[0] = "<BRE";
  EXPECT_EQ(Rewrite("<PANEL1>AD>|<PANEL1>ad<x>"), "T|<BREad<x>");
}

TEST_F(TopicRewritingTest, LineEndsBecomeCrLfAndNoByteIsLost) {
  EXPECT_EQ(Rewrite("a\nb\r\nc\rd"), "a\r\nb\r\nc\rd");
  const std::string binary("x\x1Ay\0z<BREAD>tail", 17);
  EXPECT_EQ(Rewrite(binary), std::string("x\x1Ay\0zTtail", 11));
  // A topic written compressed loses every carriage return, lone ones too.
  settings.compression = true;
  EXPECT_EQ(Rewrite("a\r\n  b\rc<BREAD>\r\n"), "a\nbcT\n");
}

TEST_F(TopicRewritingTest, LongTrailsFitTwiceAndMissingTopicsAreLeftAlone) {
  std::string trail(kTrailLimit, 't');
  EXPECT_EQ(Rewrite("<BREAD>x<BREAD>", trail), trail + "x" + trail);
  RunContext run(fs, console, settings, names);
  EXPECT_FALSE(ReplaceMarkerComponents(run, "help/missing.htm", "T"));
  fs.AddFolder("help/dir.htm");
  EXPECT_FALSE(ReplaceMarkerComponents(run, "help/dir.htm", "T"));
  EXPECT_FALSE(fs.HasFile("help/missing.htm"));
}

TEST_F(TopicRewritingTest, UnchangedOrRefusedTopicsAreNotWrittenAndAFailedWriteEndsTheRun) {
  Rewrite("no markers\r\n");
  EXPECT_TRUE(fs.replacements.empty());
  fs.AddFile("help/ro.htm", "<BREAD>");
  fs.MakeReadOnly("help/ro.htm");
  fs.AddFile("help/rofs.htm", "<BREAD>");
  fs.FailWrites("help/rofs.htm", {WriteOutcome::kRefused, 30, "Read-only file system"});
  fs.AddFile("help/full.htm", "<BREAD>");
  fs.FailWrites("help/full.htm", {WriteOutcome::kFailed, 28, "No space left on device"});
  RunContext run(fs, console, settings, names);
  EXPECT_TRUE(ReplaceMarkerComponents(run, "help/ro.htm", "T"));
  EXPECT_TRUE(ReplaceMarkerComponents(run, "help/rofs.htm", "T"));
  try {
    ReplaceMarkerComponents(run, "help/full.htm", "T");
    ADD_FAILURE() << "a failed write went unreported";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "\nError: (help/full.htm) not written: No space left on device.\n");
  }
  for (const char* topic : {"help/ro.htm", "help/rofs.htm", "help/full.htm"}) {
    EXPECT_EQ(fs.Content(topic), "<BREAD>");
  }
  EXPECT_EQ(console.output, "");
}

TEST_F(TopicRewritingTest, BreadLinkFormats) {
  fs.AddFile("help/toc.htm", "");
  fs.AddFile("help/a.htm", "<title>  Alpha  </title>");
  EXPECT_EQ(Link(" a.htm ", 0), "<a class=\"bread\" href=\"a.htm\">Alpha</a>");
  EXPECT_EQ(Link("a.htm", 1),
            "<b>&nbsp;&raquo;&nbsp;</b><a class=\"bread\" href=\"a.htm\">Alpha</a>\n");
  settings.url_prefix = "../shared/";
  settings.index_frame_links = true;
  EXPECT_EQ(Link("a.htm", 0),
            "<a class=\"bread\" href=\"../shared/ia.htm\" target=\"_top\">Alpha</a>");
  settings.separator_at_first_level = true;
  settings.breadcrumb_separator = " &gt; ";
  settings.index_page_prefix = "frames/";
  settings.index_page_suffix = "?x";
  EXPECT_EQ(Link("b.htm", 0),
            " &gt; <a class=\"bread\" href=\"../shared/frames/b.htm?x\" target=\"_top\"></a>\n");
}

TEST_F(TopicRewritingTest, BreadLinksAreCutAt770AndNeedTheirTocPage) {
  fs.AddFile("help/toc.htm", "");
  settings.breadcrumb_separator = std::string(800, 's');
  EXPECT_EQ(Link("a.htm", 1), std::string(770, 's'));
  EXPECT_EQ(Link("a.htm", 0), "<a class=\"bread\" href=\"a.htm\"></a>");
  RunContext run(fs, console, settings, names);
  EXPECT_EQ(MakeBreadLink(run, "gone/toc.htm", "a.htm", 0), "");
}

}  // namespace
}  // namespace quorva
