#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"

namespace quorva {
namespace {

const char kUsage[] =
    "\nQUORVA 2.2.1.1175 - index frame pages, breadcrumbs, drop-down menu and compression for "
    "plain-HTML help.\n"
    "\n\nUsage:\n\nUsage  \n\nQUORVA.EXE  frameset_template output_toc optional_switches \n"
    "\nExample                            \n"
    "\nQUORVA.EXE \"C:\\AITdata\\fsref.htm\" \"C:\\AITpub\\HTML\\Test\\toc.htm\" -c -bi\n"
    "\nNote: In the example, the quotation marks are optional. You must enclose"
    "\nthe file name in quotations marks if it includes blanks.\n"
    "\nFrameset template \n"
    "\nIn the example, quorva_frameset.htm is the frameset to be used as template "
    "\nfor each innn.htm file. This file can be the AuthorIT "
    "\nframeset template (normally "
    "C:\\Program Files\\AuthorITv4\\Data\\Templates\\Plain HTML\\html_frameset.htm). "
    "\n \nFor information about the switches see the attached help file.\n"
    " -- Press any key --.";

const char kSetupLines[] = "\nIndex page(s) title:'Sample Help'.\n\nCreating Index Frame Pages.";
// The passes over a TOC page that lists one topic: its index frame page and index.htm are left
// for the other topics.
const char kWalk[] =
    "\n\n\nCreating indexfiles.\n\n\xE2\x94\x94toc.htm -(a.htm)"
    "\n\n\nCreating Breadcrumbs and modifying topics.\n\n\xE2\x94\x94toc.htm -(a.htm)"
    "\nOther topics -(ia.htm, index.htm)\n";

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("fsref.htm",
              "<html><head><title></title></head>\r\n<frameset cols=\"30%,*\"><frame "
              "src=\"toc.htm\"><frame src=\"main.htm\"></frameset></html>\r\n");
    dir.Write("help/index.htm", "<html><head><title>Sample Help</title></head></html>\r\n");
    dir.Write("help/toc.htm", "<html><body><a href=\"a.htm\">A</a></body></html>\r\n");
    dir.Write("help/a.htm", "<title>A</title>\r\n");
  }
  BinaryRun Run(const std::vector<std::string>& arguments) {
    return RunQuorvaBinary(arguments, dir.Path());
  }

  TempFolder dir;
};

TEST_F(CommandLineTest, NoArgumentsPrintUsageAndDoNotBlockWithoutATerminal) {
  BinaryRun run = Run({});
  EXPECT_EQ(run.output, kUsage);
  EXPECT_EQ(run.exit_code, 0);
  // The help flags show the same screen without asking for a key, then the switches.
  const std::string usage(kUsage);
  const std::string screen = usage.substr(0, usage.rfind(" -- Press any key --."));
  for (const char* flag : {"--help", "/?"}) {
    BinaryRun help = Run({flag});
    EXPECT_EQ(help.output.substr(0, screen.size()), screen) << flag;
    EXPECT_NE(help.output.find("\nSwitches:", screen.size()), std::string::npos) << flag;
    EXPECT_EQ(help.exit_code, 0) << flag;
  }
}

// The switch groups of a text, each with its rows and each row with its switches: from the
// manual, the code spans of each table's first column below a "###" heading of its switch
// section; from the help screen, the names that start the lines below a group's "Name:" line.
using SwitchGroups = std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>>;

SwitchGroups ReadManualSwitchTables(const std::string& manual) {
  SwitchGroups groups;
  std::istringstream lines(manual);
  bool in_switches = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("## ", 0) == 0) {
      in_switches = line == "## Switches";
    } else if (in_switches && line.rfind("### ", 0) == 0) {
      groups.push_back({line.substr(4), {}});
    } else if (in_switches && !groups.empty() && line.rfind("|", 0) == 0) {
      const std::string first_cell = line.substr(1, line.find('|', 1) - 1);
      std::vector<std::string> names;
      for (std::size_t open = first_cell.find('`'); open != std::string::npos;) {
        const std::size_t close = first_cell.find('`', open + 1);
        names.push_back(first_cell.substr(open + 1, close - open - 1));
        open = first_cell.find('`', close + 1);
      }
      if (!names.empty()) {
        groups.back().second.push_back(names);
      }
    }
  }
  return groups;
}

SwitchGroups ReadHelpSwitchGroups(const std::string& help) {
  SwitchGroups groups;
  std::istringstream lines(help.substr(help.find("\nSwitches:")));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.front() != ' ' && line.back() == ':') {
      groups.push_back({line.substr(0, line.size() - 1), {}});
    } else if (!groups.empty() && line.rfind("  ", 0) == 0) {
      // "-bh<file>, -bt<file>" and "-p1<file> ... -p9<file>": the switches without values.
      std::istringstream names(line.substr(2, line.find("  ", 2) - 2));
      std::vector<std::string> row;
      for (std::string name; names >> name;) {
        if (name != "...") {
          row.push_back(name.substr(0, std::min(name.find('<'), name.find(','))));
        }
      }
      groups.back().second.push_back(row);
    }
  }
  return groups;
}

TEST_F(CommandLineTest, HelpListsTheManualsSwitchesAsItGroupsThemWithinEightyColumns) {
  std::ifstream file(QUORVA_MANUAL, std::ios::binary);
  const std::string manual((std::istreambuf_iterator<char>(file)), {});
  const SwitchGroups documented = ReadManualSwitchTables(manual);
  ASSERT_EQ(documented.size(), 8u) << "the manual's switch section has eight groups";

  BinaryRun help = Run({"--help"});
  EXPECT_EQ(ReadHelpSwitchGroups(help.output), documented);
  // The usage screen above the reference is as it always was; the reference fits a console.
  std::istringstream lines(help.output.substr(help.output.find("\nSwitches:")));
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 79u) << line;
  }
}

// Where the help names an exit code, the manual's exit-code table gives that code to the same
// option, and a run with the option ends with it.
TEST_F(CommandLineTest, HelpGivesTheExitCodesTheManualAndTheRunGive) {
  std::ifstream file(QUORVA_MANUAL, std::ios::binary);
  const std::string manual((std::istreambuf_iterator<char>(file)), {});
  const std::string help = Run({"--help"}).output;
  std::istringstream lines(help.substr(help.find("\nSwitches:")));
  std::vector<std::pair<std::string, std::string>> codes;  // option, exit code
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find("exit code ");
    if (at != std::string::npos) {
      std::istringstream words(line);
      std::string option;
      words >> option;
      codes.emplace_back(option, line.substr(at + 10, line.find(' ', at + 10) - at - 10));
    }
  }
  ASSERT_EQ(codes.size(), 1u) << help;
  EXPECT_EQ(codes[0], (std::pair<std::string, std::string>{"--strict", "4"}));
  for (const auto& [option, code] : codes) {
    const std::size_t row = manual.find("\n| " + code + " | ");
    ASSERT_NE(row, std::string::npos) << code;
    EXPECT_NE(manual.substr(row, manual.find('\n', row + 1) - row).find("`" + option + "`"),
              std::string::npos)
        << code;
  }
  dir.Write("help/toc.htm", "<a href=\"a.htm\">A</a>");
  dir.Write("help/a.htm", "<title>A</title>");
  // A page nothing reaches is a warning, which leaves the exit code alone; a broken link is a
  // problem.
  dir.Write("help/orphan.htm", "<title>O</title>");
  EXPECT_EQ(Run({"fsref.htm", "help/toc.htm", "--strict"}).exit_code, 0);
  dir.Write("help/a.htm", "<title>A</title><a href=\"gone.htm\">G</a>");
  EXPECT_EQ(std::to_string(Run({"fsref.htm", "help/toc.htm", "--strict"}).exit_code),
            codes[0].second);
}

TEST_F(CommandLineTest, VersionBannerOnlyAsTheFirstArgumentInLowerCase) {
  BinaryRun ver = Run({"-ver"});
  EXPECT_EQ(ver.output, "\nQUORVA Tessivane -- Version: 2.2.1.\n\n");
  EXPECT_EQ(ver.exit_code, 0);
  EXPECT_EQ(Run({"--version"}).output, ver.output);
  BinaryRun upper = Run({"-VER"});
  EXPECT_EQ(upper.output, "Error: Reference File (-VER) not found.\n");
  EXPECT_EQ(upper.exit_code, 1);
  BinaryRun later = Run({"fsref.htm", "help/toc.htm", "-ver"});
  EXPECT_EQ(later.output, std::string(kSetupLines) + "-ver is not a legal switch.\n");
  EXPECT_EQ(later.exit_code, 1);
}

TEST_F(CommandLineTest, OnlyTheTemplateGivenDoesNothing) {
  BinaryRun run = Run({"fsref.htm"});
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CommandLineTest, MissingIndexPageIsASetupError) {
  dir.Write("bare/toc.htm", "<html></html>");
  BinaryRun run = Run({"fsref.htm", "bare/toc.htm"});
  EXPECT_EQ(run.output, "Error Cannot find <title>: (bare/index.htm).\n");
  EXPECT_EQ(run.exit_code, 1);
}

TEST_F(CommandLineTest, FolderFormsOfTheSecondArgument) {
  BinaryRun trailing = Run({"fsref.htm", "help/"});
  EXPECT_EQ(trailing.output, std::string(kSetupLines) + kWalk + "\ncomplete.\n");
  EXPECT_EQ(trailing.exit_code, 0);
  // Without its trailing separator the folder is the TOC page, and index.htm is looked for
  // beside it.
  BinaryRun bare = Run({"fsref.htm", "help"});
  EXPECT_EQ(bare.output, "Error Cannot find <title>: (index.htm).\n");
  EXPECT_EQ(bare.exit_code, 1);
}

// A TOC page the walks cannot read, or one that lists no page, and a report into a missing
// folder end the run before it writes anything, so a mistyped name never costs the topics
// their markers.
TEST_F(CommandLineTest, AMistypedTocPageOrReportFolderEndsTheRunBeforeAnyWrite) {
  dir.Write("help/a.htm", "<title>A</title>\r\n<BREAD><MENU><PANEL1>\r\n");
  dir.Write("help/tocdir.htm/inside.htm", "a folder named like a TOC page");
  dir.Write("help/empty.htm", "<html><frameset><frame src=\"a.htm\"></frameset></html>\r\n");
  dir.Write("help/.quorva-1-1.tmp", "left by a killed run");
  const std::vector<std::string> switches = {"-mm", "-mwhelp/menu.htm", "-p1x.txt", "-c"};
  const std::pair<std::string, std::string> cases[] = {
      {"help/nothere.htm", "Error: TOC page (help/nothere.htm) not found."},
      {"help/tocdir.htm", "Error: TOC page (help/tocdir.htm) not found."},
      {"help/empty.htm", "Error: TOC page (help/empty.htm) lists no page."}};
  for (const auto& [toc_page, message] : cases) {
    std::vector<std::string> arguments = {"fsref.htm", toc_page};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    const BinaryRun run = Run(arguments);
    EXPECT_EQ(run.output,
              std::string(kSetupLines) + "\nunable to read help/x.txt.\n\n" + message + "\n");
    EXPECT_EQ(run.exit_code, 1);
  }
  const BinaryRun report = Run({"fsref.htm", "help/toc.htm", "-c", "--report=nodir/r.html"});
  EXPECT_EQ(report.output,
            std::string(kSetupLines) + "\nError: Report (nodir/r.html) not written.\n");
  EXPECT_EQ(report.exit_code, 1);
  EXPECT_FALSE(dir.Exists("nodir"));
  EXPECT_EQ(dir.Read("help/a.htm"), "<title>A</title>\r\n<BREAD><MENU><PANEL1>\r\n");
  EXPECT_FALSE(dir.Exists("help/menu.htm"));
  EXPECT_FALSE(dir.Exists("help/ia.htm"));
  EXPECT_TRUE(dir.Exists("help/.quorva-1-1.tmp"));
}

TEST_F(CommandLineTest, SwitchesTakeEffectInOrder) {
  dir.Write("help/panel.txt", "<p>panel</p>\r\n");
  BinaryRun run = Run({"fsref.htm", "help/toc.htm", "-cn", "-p1panel.txt", "-p2none.txt",
                       "-p1panel.txt", "-ux", "-m"});
  EXPECT_EQ(run.output, std::string(kSetupLines) +
                            "\nreading help/panel.txt.\n"
                            "\nunable to read help/none.txt.\n"
                            "\nreading help/panel.txt.\n" +
                            kWalk + "\ncomplete.\n");
  EXPECT_EQ(run.exit_code, 0);
}

TEST_F(CommandLineTest, IllegalSwitchStopsTheRunBeforeAnyPass) {
  BinaryRun run = Run({"fsref.htm", "help/toc.htm", "-c", "-bx", "-p1x"});
  EXPECT_EQ(run.output, std::string(kSetupLines) + "-bx is not a legal switch.\n");
  EXPECT_EQ(run.exit_code, 1);
}

}  // namespace
}  // namespace quorva
