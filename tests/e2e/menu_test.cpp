#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"

namespace quorva {
namespace {

const char kIe7[] =
    "<!--[if IE 7]><!--></a><!--<![endif]--><!--[if lt IE 7]><table><tr><td><![endif]-->";
const char kIe6[] = "<!--[if lte IE 6]></td></tr></table></a><![endif]-->";

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

std::string Spaces(int count) {
  return std::string(static_cast<std::size_t>(count), ' ');
}

class MenuE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("fsref.htm", "<title></title><frame src=\"toc.htm\"><frame src=\"main.htm\">");
    dir.Write("help/index.htm", "<title>Help</title>");
    dir.Write("help/toc.htm",
              "<html><head><link href=\"menu.css\"></head><body>\r\n"
              "<a href=\"toc1.htm\"><img src=\"book.gif\"></a><a href=\"guide.htm\">Guide</a>\r\n"
              "<a href=\"faq.htm\">FAQ</a>\r\n</body></html>\r\n");
    dir.Write("help/toc1.htm",
              "<body><a href=\"toc2.htm\"><img></a><a href=\"setup.htm\">Setup</a>\r\n"
              "<a href=\"use.htm\"> Using </a></body>\r\n");
    dir.Write("help/toc2.htm", "<body><a href=\"install.htm\">Install</a></body>\r\n");
    dir.Write("help/guide.htm", "<title>User Guide</title>\r\n<MENU>\r\n");
    dir.Write("help/faq.htm", "<title>Questions</title>");
  }
  BinaryRun Run(std::vector<std::string> switches) {
    std::vector<std::string> arguments = {"fsref.htm", "help/toc.htm", "-fin"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    return RunQuorvaBinary(arguments, dir.Path());
  }

  TempFolder dir;
};

TEST_F(MenuE2eTest, TheMenuMirrorsTheTocTree) {
  BinaryRun run = Run({"-mm"});
  EXPECT_EQ(run.exit_code, 0);
  const std::string tree =
      "\n\xE2\x94\x94toc.htm -(guide.htm, faq.htm)"
      "\n \xE2\x94\x94toc1.htm -(setup.htm, use.htm)"
      "\n  \xE2\x94\x94toc2.htm -(install.htm)";
  EXPECT_EQ(run.output,
            "\nIndex page(s) title:'Help'.\n\nCreating Index Frame Pages."
            "\n\nCreating menu.htm.\n" +
                tree + "\n\n\nCreating Breadcrumbs and modifying topics.\n" + tree +
                "\nOther topics -(index.htm)\n\ncomplete.\n");
  const std::string menu = Lines({
      "<div class=\"menu\">",
      Spaces(4) + "<ul class=\"toplevel\">",
      Spaces(8) + "<li><a class=\"menubutton\" href=\"guide.htm\">&nbsp; User Guide &nbsp;",
      kIe7,
      Spaces(12) + "<ul class=\"downlevel\">",
      Spaces(12) +
          "<li><a href=\"setup.htm\"><span class=\"drop\"><span>Setup</span>  &#9658; </span>",
      kIe7,
      Spaces(16) + "<ul class=\"downlevel\">",
      Spaces(16) + "<li><a href=\"install.htm\"><span "
                   "class=\"drop\"><span>Install</span>&nbsp;</span></a></li>",
      Spaces(16) + "</ul>",
      Spaces(12) + kIe6,
      Spaces(12) + "</li>",
      Spaces(12) +
          "<li><a href=\"use.htm\"><span class=\"drop\"><span>Using</span>&nbsp;</span></a></li>",
      Spaces(12) + "</ul>",
      Spaces(8) + kIe6,
      Spaces(8) + "</li>",
      Spaces(8) + "<li><a class=\"menubutton\" href=\"faq.htm\">&nbsp; FAQ &nbsp;</a></li>",
      "",
      Spaces(4) + "</ul>",
      "</div>",
  });
  EXPECT_EQ(dir.Read("toc-menu.htm"), menu);
  EXPECT_EQ(dir.Read("help/guide.htm"), "<title>User Guide</title>\r\n" + menu + "\r\n");
}

TEST_F(MenuE2eTest, RepeatParentPutsACopyOfEachParentAtTheTopOfItsDropDown) {
  // The page's folder is missing at first: the page is reported and the run goes on.
  BinaryRun missing_folder = Run({"-mm", "-mp", "-mwmenu/page.htm"});
  EXPECT_EQ(missing_folder.exit_code, 0);
  EXPECT_NE(missing_folder.output.find("\nError: Menu page (menu/page.htm) not written.\n"),
            std::string::npos);
  dir.Write("menu/keep.txt", "");
  BinaryRun run = Run({"-mm", "-mp", "-mwmenu/page.htm"});
  EXPECT_EQ(run.output.find("Error"), std::string::npos);
  const std::string menu = Lines({
      "<div class=\"menu\">",
      Spaces(4) + "<ul class=\"toplevel\">",
      Spaces(8) + "<li><a class=\"menubutton\" href=\"guide.htm\">&nbsp; User Guide &nbsp;",
      kIe7,
      Spaces(12) + "<ul class=\"downlevel\">",
      Spaces(12) +
          "<li><a href=\"guide.htm\"><span class=\"drop\"><span>Guide</span>&nbsp;</span></a></li>",
      Spaces(12) +
          "<li><a href=\"setup.htm\"><span class=\"drop\"><span>Setup</span>  &#9658; </span>",
      kIe7,
      Spaces(16) + "<ul class=\"downlevel\">",
      Spaces(16) +
          "<li><a href=\"setup.htm\"><span class=\"drop\"><span>Setup</span>&nbsp;</span></a></li>",
      Spaces(16) + "<li><a href=\"install.htm\"><span "
                   "class=\"drop\"><span>Install</span>&nbsp;</span></a></li>",
      Spaces(16) + "</ul>",
      Spaces(12) + kIe6,
      Spaces(12) + "</li>",
      Spaces(12) +
          "<li><a href=\"use.htm\"><span class=\"drop\"><span>Using</span>&nbsp;</span></a></li>",
      Spaces(12) + "</ul>",
      Spaces(8) + kIe6,
      Spaces(8) + "</li>",
      Spaces(8) + "<li><a class=\"menubutton\" href=\"faq.htm\">&nbsp; Questions &nbsp;",
      kIe7,
      Spaces(12) + "<ul class=\"downlevel\">",
      Spaces(12) +
          "<li><a href=\"faq.htm\"><span class=\"drop\"><span>FAQ</span>&nbsp;</span></a></li>",
      Spaces(12) + "</ul>",
      Spaces(8) + kIe6,
      Spaces(8) + "</li>",
      "",
      Spaces(4) + "</ul>",
      "</div>",
  });
  EXPECT_EQ(dir.Read("menu/page.htm"), menu);
  EXPECT_FALSE(dir.Exists("toc-menu.htm"));
}

TEST_F(MenuE2eTest, MarkersWithoutAMenuOrWithoutAPage) {
  BinaryRun removed = Run({"-mmr"});
  EXPECT_EQ(removed.output.find("Creating menu.htm"), std::string::npos);
  EXPECT_EQ(dir.Read("help/guide.htm"), "<title>User Guide</title>\r\n\r\n");
  EXPECT_FALSE(dir.Exists("toc-menu.htm"));
  dir.Write("help/guide.htm", "<MENU>");
  BinaryRun unnamed = Run({"-mm", "-mw"});
  EXPECT_NE(unnamed.output.find("\n\nCreating menu.htm.\n"), std::string::npos);
  EXPECT_EQ(dir.Read("help/guide.htm").substr(0, 20), "<div class=\"menu\">\r\n");
  EXPECT_FALSE(dir.Exists("toc-menu.htm"));
}

TEST_F(MenuE2eTest, AMenuPageThatCannotBeWrittenIsReportedAndTopicsStillGetTheMenu) {
  dir.Write("toc-menu.htm/inside", "a folder where the page would go");
  dir.Write("help/guide.htm", "<MENU>");
  BinaryRun run = Run({"-mm"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.output.find("\nError: Menu page (toc-menu.htm) not written.\n"), std::string::npos);
  EXPECT_EQ(dir.Read("help/guide.htm").substr(0, 20), "<div class=\"menu\">\r\n");
  // A device is no file to write either: refused, not failed.
#ifdef _WIN32
  const std::string device = "NUL";
#else
  const std::string device = "/dev/null";
#endif
  dir.Write("help/guide.htm", "<MENU>");
  BinaryRun to_device = Run({"-mm", "-mw" + device});
  EXPECT_EQ(to_device.exit_code, 0);
  EXPECT_NE(to_device.output.find("\nError: Menu page (" + device + ") not written.\n"),
            std::string::npos);
  EXPECT_EQ(dir.Read("help/guide.htm").substr(0, 20), "<div class=\"menu\">\r\n");
}

// A dry run decides the menu page's writes as a real run does: a page into a missing folder is
// refused, and a page the run created takes a later pass's rewrite.
TEST_F(MenuE2eTest, ADryRunWritesTheMenuPageWhereARealRunWould) {
  const std::vector<std::string> runs[] = {
      {"-mm", "-mwnosuch/menu.htm"},
      {"-mm", "-nf", "-mwhelp/menu.htm", "-mi0,0,0,x.htm,<FILENAME>,T", "--check"}};
  const std::string expected[] = {"\nError: Menu page (nosuch/menu.htm) not written.\n",
                                  "\nhelp/menu.htm:3:41: broken-link: x.htm\n"};
  for (std::size_t i = 0; i < 2; ++i) {
    TempFolder copy;
    for (const char* name : {"fsref.htm", "help/index.htm", "help/toc.htm", "help/toc1.htm",
                             "help/toc2.htm", "help/guide.htm", "help/faq.htm"}) {
      copy.Write(name, dir.Read(name));
    }
    std::vector<std::string> arguments = {"fsref.htm", "help/toc.htm", "-fin"};
    arguments.insert(arguments.end(), runs[i].begin(), runs[i].end());
    const BinaryRun real = RunQuorvaBinary(arguments, copy.Path());
    std::vector<std::string> dry_switches = runs[i];
    dry_switches.push_back("--dry-run");
    const BinaryRun dry = Run(dry_switches);
    EXPECT_EQ(real.exit_code, 0);
    EXPECT_EQ(dry.exit_code, 0);
    EXPECT_NE(real.output.find(expected[i]), std::string::npos) << real.output;
    EXPECT_EQ(dry.output.compare(0, real.output.size(), real.output), 0) << dry.output;
    EXPECT_EQ(dry.output.find("Would create: nosuch"), std::string::npos) << dry.output;
    EXPECT_FALSE(copy.Exists("nosuch"));
  }
  EXPECT_FALSE(dir.Exists("help/menu.htm"));
}

// A menu page in the output folder is rewritten as a topic, so the markers its items hold are
// replaced as that rewriting replaces them, whether compression follows or not.
TEST_F(MenuE2eTest, MarkersInAMenuPageOfTheOutputFolderAreReplacedAlsoWhenCompressed) {
  auto without_white_space = [](std::string text) {
    text.erase(
        std::remove_if(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }),
        text.end());
    return text;
  };
  for (const std::string marker : {"<FILENAME>", "<BREAD>"}) {
    std::string pages[2];
    for (int compressed = 0; compressed < 2; ++compressed) {
      std::vector<std::string> switches = {"-mm", "-nf", "-mwhelp/menu.htm",
                                           "-mi0,0,0,x.htm," + marker + ",T"};
      if (compressed == 1) {
        switches.push_back("-c");
      }
      ASSERT_EQ(Run(switches).exit_code, 0);
      pages[compressed] = dir.Read("help/menu.htm");
      EXPECT_EQ(pages[compressed].find(marker), std::string::npos) << marker << compressed;
      EXPECT_NE(pages[compressed].find("menu.htm"), std::string::npos) << marker << compressed;
    }
    EXPECT_NE(pages[0], pages[1]);
    EXPECT_EQ(without_white_space(pages[0]), without_white_space(pages[1])) << marker;
  }
}

}  // namespace
}  // namespace quorva
