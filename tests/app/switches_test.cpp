#include "app/switches.h"

#include <gtest/gtest.h>

#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

class SwitchesTest : public ::testing::Test {
 protected:
  // Applies the switches in order; the index of the first one not applied, or -1.
  int Apply(std::initializer_list<std::string> switches) {
    int index = 0;
    for (const std::string& argument : switches) {
      if (ApplySwitch(argument, settings, context) != SwitchResult::kApplied) {
        return index;
      }
      ++index;
    }
    return -1;
  }

  MemoryFileSystem fs;
  MemoryConsole console;
  SwitchContext context{fs, console, "", "out/"};
  RunSettings settings;
};

TEST_F(SwitchesTest, DefaultsWithNoSwitches) {
  EXPECT_TRUE(settings.breadcrumbs);
  EXPECT_TRUE(settings.index_frame_pages);
  EXPECT_TRUE(settings.per_topic_titles);
  EXPECT_FALSE(settings.build_menu);
  EXPECT_FALSE(settings.handle_menu_markers);
  EXPECT_FALSE(settings.compression);
  EXPECT_FALSE(settings.file_name_marker);
  EXPECT_EQ(settings.url_prefix, "");
  EXPECT_EQ(settings.breadcrumb_separator, "<b>&nbsp;&raquo;&nbsp;</b>");
  EXPECT_EQ(settings.index_page_prefix, "i");
  EXPECT_EQ(settings.drop_arrow, " &#9658;");
  EXPECT_EQ(settings.button_depth, 1);
  EXPECT_TRUE(settings.menu_wrapper);
  EXPECT_TRUE(settings.old_browser_markup);
  EXPECT_EQ(settings.menu_page_name, "toc-menu.htm");
}

TEST_F(SwitchesTest, FlagsAreClearedOnlyByAnN) {
  EXPECT_EQ(
      Apply({"-bbn", "-fin", "-ftn", "-cx", "-nf", "-bi", "-bl", "-mdn", "-mp", "-ms", "-mtn"}),
      -1);
  EXPECT_FALSE(settings.breadcrumbs);
  EXPECT_FALSE(settings.index_frame_pages);
  EXPECT_FALSE(settings.per_topic_titles);
  EXPECT_TRUE(settings.compression);
  EXPECT_TRUE(settings.file_name_marker);
  EXPECT_TRUE(settings.index_frame_links);
  EXPECT_TRUE(settings.separator_at_first_level);
  EXPECT_FALSE(settings.menu_wrapper);
  EXPECT_TRUE(settings.repeat_parent);
  EXPECT_TRUE(settings.wide_spacing);
  EXPECT_FALSE(settings.old_browser_markup);
  EXPECT_EQ(Apply({"-bb", "-ftx", "-cn", "-bbn", "-bb"}), -1);
  EXPECT_TRUE(settings.breadcrumbs);
  EXPECT_TRUE(settings.per_topic_titles);
  EXPECT_FALSE(settings.compression);
}

TEST_F(SwitchesTest, IllegalAndIgnoredSwitches) {
  for (const char* illegal :
       {"x", "-", "-B", "-bx", "-b", "-f", "-fx", "-n", "-nx", "-p", "-p0", "-pa", "-x", "-ver"}) {
    EXPECT_EQ(ApplySwitch(illegal, settings, context), SwitchResult::kIllegal) << illegal;
  }
  RunSettings before = settings;
  EXPECT_EQ(Apply({"-ux", "-u", "-mx", "-m"}), -1);
  EXPECT_EQ(settings.url_prefix, before.url_prefix);
  EXPECT_EQ(settings.menu_page_name, before.menu_page_name);
  EXPECT_EQ(console.output, "");
}

TEST_F(SwitchesTest, UrlPrefixInlineFromFileAndFixed) {
  Apply({"-ub../shared/"});
  EXPECT_EQ(settings.url_prefix, "../shared/");
  Apply({"-ub  x  "});
  EXPECT_EQ(settings.url_prefix, "x");
  Apply({"-ub" + std::string(300, 'a')});
  EXPECT_EQ(settings.url_prefix, std::string(257, 'a'));
  Apply({"-ubfiles/"});  // read as -ubf with the missing file "iles/"
  EXPECT_EQ(settings.url_prefix, "");
  fs.AddFile("prefix.txt", "  http://x/\r\n" + std::string(300, 'b'));
  Apply({"-ubfprefix.txt"});
  EXPECT_EQ(settings.url_prefix, "http://x/\n" + std::string(248, 'b'));
  Apply({"-ul", "-ur"});
  EXPECT_EQ(settings.url_prefix, "/");
  Apply({"-ul"});
  EXPECT_EQ(settings.url_prefix, "./");
  Apply({"-un"});
  EXPECT_EQ(settings.url_prefix, "");
}

TEST_F(SwitchesTest, BreadcrumbTextsComeWholeFromFiles) {
  fs.AddFile("sep.txt", " &gt; ");
  fs.AddFile("empty.txt", "");
  fs.AddFile("suffix.txt",
             "s\x1A"
             "after");
  Apply({"-busep.txt", "-bhempty.txt", "-btsuffix.txt"});
  EXPECT_EQ(settings.breadcrumb_separator, " &gt; ");
  EXPECT_EQ(settings.index_page_prefix, "");
  EXPECT_EQ(settings.index_page_suffix, "s");
  Apply({"-bumissing.txt", "-bhmissing.txt"});
  EXPECT_EQ(settings.breadcrumb_separator, " &gt; ");
  EXPECT_EQ(settings.index_page_prefix, "");
  fs.AddFile("long.txt", std::string(40000, 'x'));
  Apply({"-bulong.txt", "-bhlong.txt"});
  EXPECT_EQ(settings.breadcrumb_separator.size(), 32765u);
  EXPECT_EQ(settings.index_page_prefix.size(), 32766u);
  // A settings file ends at its first NUL byte; past it -mif would find a whole item.
  fs.AddFile("nul.txt", std::string("n") + '\0' + ",0,0,x.htm,X,T");
  Apply({"-bunul.txt", "-bhnul.txt", "-btnul.txt", "-ubfnul.txt", "-mifnul.txt"});
  for (const std::string* text : {&settings.breadcrumb_separator, &settings.index_page_prefix,
                                  &settings.index_page_suffix, &settings.url_prefix}) {
    EXPECT_EQ(*text, "n");
  }
  EXPECT_TRUE(settings.extra_menu_items.empty());
}

// A file a setting switch names that cannot be read is named in a warning with its setting; the
// setting stays as it was (the URL prefix emptied).
TEST_F(SwitchesTest, SettingFilesThatCannotBeReadAreNamedInAWarning) {
  fs.AddFolder("dir");
  settings.url_prefix = "old/";
  EXPECT_EQ(Apply({"-mifitems.txt", "-ubfdir", "-bhhead.txt", "-bttail.txt", "-busep.txt"}), -1);
  EXPECT_EQ(console.output,
            "\nWarning: Menu items file (items.txt) not read.\n"
            "\nWarning: URL prefix file (dir) not read.\n"
            "\nWarning: Breadcrumb head file (head.txt) not read.\n"
            "\nWarning: Breadcrumb tail file (tail.txt) not read.\n"
            "\nWarning: Breadcrumb separator file (sep.txt) not read.\n");
  EXPECT_EQ(settings.url_prefix, "");
  EXPECT_EQ(settings.index_page_prefix, "i");
  EXPECT_EQ(settings.breadcrumb_separator, "<b>&nbsp;&raquo;&nbsp;</b>");
  EXPECT_TRUE(settings.extra_menu_items.empty());
}

TEST_F(SwitchesTest, MenuSettings) {
  Apply({"-ma"});
  EXPECT_EQ(settings.drop_arrow, "&#9658;");
  Apply({"-maa"});
  EXPECT_EQ(settings.drop_arrow, "&rarr;");
  Apply({"-mag"});
  EXPECT_EQ(settings.drop_arrow, "&raquo;");
  Apply({"-man"});
  EXPECT_EQ(settings.drop_arrow, "");
  Apply({"-mbx"});
  EXPECT_EQ(settings.button_depth, 0);
  Apply({"-mb-1"});
  EXPECT_EQ(settings.button_depth, -1);
  Apply({"-mb 3"});
  EXPECT_EQ(settings.button_depth, 3);
  Apply({"-mm", "-mmr"});
  EXPECT_FALSE(settings.build_menu);
  EXPECT_TRUE(settings.handle_menu_markers);
  Apply({"-mmr", "-mm"});
  EXPECT_TRUE(settings.build_menu);
  EXPECT_TRUE(settings.handle_menu_markers);
  Apply({"-mmn"});
  EXPECT_FALSE(settings.build_menu);
  EXPECT_FALSE(settings.handle_menu_markers);
  Apply({"-mw  menu.htm "});
  EXPECT_EQ(settings.menu_page_name, "menu.htm");
  Apply({"-mw " + std::string(259, 'm') + "  "});  // trimmed before its length counts
  EXPECT_EQ(settings.menu_page_name, std::string(259, 'm'));
  Apply({"-mw"});
  EXPECT_EQ(settings.menu_page_name, "");
}

TEST_F(SwitchesTest, ExtraMenuItemsAccumulateUpToNine) {
  fs.AddFile("items.txt", "1,0,0,f.htm,F,TF\r\n1,1,0,g.htm,G,TG\r\n");
  Apply({"-mi0,0,0,a.htm,A,TA", "-mifitems.txt", "-mifmissing.txt"});
  ASSERT_EQ(settings.extra_menu_items.size(), 3u);
  EXPECT_EQ(settings.extra_menu_items[1].target, "f.htm");
  EXPECT_EQ(settings.extra_menu_items[2].title, "TG");
  std::string six = "0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T";
  Apply({"-mi" + six, "-mi0,0,0,tenth,T,T"});
  EXPECT_EQ(settings.extra_menu_items.size(), 9u);
  std::size_t reads = fs.reads.size();
  Apply({"-mifitems.txt"});
  EXPECT_EQ(fs.reads.size(), reads) << "a -mif file is not opened once nine items exist";
  EXPECT_EQ(settings.extra_menu_items.size(), 9u);
}

TEST_F(SwitchesTest, SnippetsAreRelativeToTheOutputFolderAndTheFirstOneWins) {
  fs.AddFile("out/a.txt", "A\r\ntext");
  fs.AddFile("out/b.txt", "B");
  Apply({"-p1a.txt", "-p1b.txt", "-p2missing.txt", "-p3b.txt"});
  EXPECT_EQ(console.output,
            "\nreading out/a.txt.\n\nreading out/b.txt.\n\nunable to read out/missing.txt.\n"
            "\nreading out/b.txt.\n");
  EXPECT_TRUE(settings.snippets_loaded);
  EXPECT_EQ(settings.snippets[0], "A\ntext");
  EXPECT_FALSE(settings.snippets[1].has_value());
  EXPECT_EQ(settings.snippets[2], "B");
  // A slot whose file could not be read keeps its marker, unless another file filled it.
  Apply({"-p4missing.txt", "-p4b.txt", "-p3missing.txt"});
  EXPECT_FALSE(settings.KeepsSnippetMarker(0));
  EXPECT_TRUE(settings.KeepsSnippetMarker(1));
  EXPECT_FALSE(settings.KeepsSnippetMarker(2));
  EXPECT_FALSE(settings.KeepsSnippetMarker(3));
  EXPECT_FALSE(settings.KeepsSnippetMarker(4));
}

TEST_F(SwitchesTest, SnippetThatIsAFolderFillsNoSlot) {
  fs.AddFolder("out/dir");
  Apply({"-p1dir"});
  EXPECT_EQ(console.output, "\nreading out/dir.\n");
  EXPECT_FALSE(settings.snippets_loaded);
  EXPECT_FALSE(settings.snippets[0].has_value());
  EXPECT_TRUE(settings.KeepsSnippetMarker(0));
}

TEST_F(SwitchesTest, OverlongPathsAreRefusedWithAMessageAndNothingRead) {
  const std::string name(260, 'f');
  fs.AddFile(name.substr(0, 259), "cut name must not be read");
  const RunSettings before = settings;
  for (const std::string letters : {"-ubf", "-bu", "-bh", "-bt", "-mif", "-mw", "-p1"}) {
    console.output.clear();
    EXPECT_EQ(ApplySwitch(letters + name, settings, context), SwitchResult::kPathTooLong)
        << letters;
    const std::string path = letters == "-p1" ? "out/" + name : name;
    EXPECT_EQ(console.output, "Error: Path too long (" + path + ").\n") << letters;
  }
  EXPECT_TRUE(fs.reads.empty());
  EXPECT_EQ(settings.breadcrumb_separator, before.breadcrumb_separator);
  EXPECT_EQ(settings.index_page_prefix, before.index_page_prefix);
  EXPECT_EQ(settings.menu_page_name, before.menu_page_name);
  EXPECT_FALSE(settings.snippets_loaded);
  // With the nine items full a -mif file would be skipped, but its user is still told.
  Apply(
      {"-mi0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T,"
       "0,9,0,x,X,T,0,9,0,x,X,T,0,9,0,x,X,T"});
  ASSERT_EQ(settings.extra_menu_items.size(), 9u);
  EXPECT_EQ(ApplySwitch("-mif" + name, settings, context), SwitchResult::kPathTooLong);
}

}  // namespace
}  // namespace quorva
