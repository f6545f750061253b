#include "app/run.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "fakes/fake_web_client.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"
#include "platform/console.h"

namespace quorva {
namespace {

constexpr char kTemplate[] =
    "<html><head><title></title></head><frameset><frame src=\"toc.htm\"><frame "
    "src=\"main.htm\"></frameset></html>";

class RunTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> arguments) { return RunQuorva(arguments, fs, console); }

  MemoryFileSystem fs;
  MemoryConsole console;
};

TEST_F(RunTest, NoArgumentsShowUsageAndWaitForAKey) {
  EXPECT_EQ(Run({}), 0);
  EXPECT_NE(console.output.find("2.2.1.1175"), std::string::npos);
  EXPECT_NE(console.output.find("\n\nUsage:\n\nUsage  \n\nQUORVA.EXE  frameset_template "
                                "output_toc optional_switches \n"),
            std::string::npos);
  EXPECT_TRUE(console.output.size() > 21 &&
              console.output.compare(console.output.size() - 21, 21, " -- Press any key --.") == 0);
  EXPECT_EQ(console.key_waits, 1);
}

TEST_F(RunTest, HelpFlagsShowUsageAndTheSwitchesOnlyAsAMissingFirstArgument) {
  EXPECT_EQ(Run({}), 0);
  const std::string usage = console.output;
  const std::string key_request = " -- Press any key --.";
  for (const char* flag : {"--help", "-h", "-?", "/?"}) {
    console.output.clear();
    EXPECT_EQ(Run({flag, "help/toc.htm", "-c"}), 0) << flag;
    const std::string screen = usage.substr(0, usage.size() - key_request.size());
    EXPECT_EQ(console.output.substr(0, screen.size()), screen) << flag;
    EXPECT_EQ(console.output.compare(screen.size(), 10, "\nSwitches:"), 0) << flag;
  }
  EXPECT_EQ(console.key_waits, 1);
  console.output.clear();
  EXPECT_EQ(Run({"--HELP"}), 1);
  EXPECT_EQ(Run({"-help"}), 1);
  EXPECT_EQ(
      console.output,
      "Error: Reference File (--HELP) not found.\nError: Reference File (-help) not found.\n");
  console.output.clear();
  fs.AddFile("-h", kTemplate);
  EXPECT_EQ(Run({"-h"}), 0);
  EXPECT_EQ(console.output, "");
}

TEST_F(RunTest, VersionOnlyAsAMissingFirstArgument) {
  EXPECT_EQ(Run({"-version"}), 0);
  EXPECT_EQ(console.output, "\nQUORVA Tessivane -- Version: 2.2.1.\n\n");
  console.output.clear();
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(console.output, "\nQUORVA Tessivane -- Version: 2.2.1.\n\n");
  console.output.clear();
  EXPECT_EQ(Run({"--versions"}), 1);
  console.output.clear();
  EXPECT_EQ(Run({"-VER"}), 1);
  EXPECT_EQ(console.output, "Error: Reference File (-VER) not found.\n");
  console.output.clear();
  fs.AddFile("-ver", "a template named -ver");
  EXPECT_EQ(Run({"-ver"}), 0);
  EXPECT_EQ(console.output, "");
}

TEST_F(RunTest, OneExistingArgumentDoesNothing) {
  fs.AddFile("fsref.htm", kTemplate);
  EXPECT_EQ(Run({"fsref.htm"}), 0);
  EXPECT_EQ(console.output, "");
}

// The TOC page the run works on, named in its message when it cannot be walked: the second
// argument, toc.htm in a folder named with its separator. A missing TOC page, a folder, or a
// page that lists no page ends the run before anything is written.
TEST_F(RunTest, TocAndIndexPagesFollowFromTheSecondArgument) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/index.htm", "<title>Root</title>");
  fs.AddFile("D:/help/empty.htm", "<a href=\"style.css\">S</a> <a href='a.htm'>A</a>");
  fs.AddFolder("D:/help/tocdir.htm");
  auto expected = [](const std::string& title, const std::string& toc_page,
                     const std::string& error) {
    return "\nIndex page(s) title:'" + title +
           "'.\n\nCreating Index Frame Pages.\nError: TOC page (" + toc_page + ") " + error + ".\n";
  };
  const struct {
    std::string argument;
    std::string title;
    std::string toc_page;
    std::string error;
  } cases[] = {{"D:/help/", "Help", "D:/help/toc.htm", "not found"},
               {"D:/help/contents", "Help", "D:/help/contents", "not found"},
               {"D:/help", "Root", "D:/help", "not found"},
               {"D:/help/tocdir.htm", "Help", "D:/help/tocdir.htm", "not found"},
               {"D:/help/empty.htm", "Help", "D:/help/empty.htm", "lists no page"}};
  for (const auto& c : cases) {
    console.output.clear();
    EXPECT_EQ(Run({"fsref.htm", c.argument, "-mm", "-c"}), 1) << c.argument;
    EXPECT_EQ(console.output, expected(c.title, c.toc_page, c.error)) << c.argument;
  }
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_TRUE(fs.replacements.empty());
}

// A file found in the output folder is not replaced through a link that leads out of it, into
// a subfolder included: its target keeps its bytes, and the author hears of the link once,
// whichever pass meets it first. A link to a file beside it is followed.
TEST_F(RunTest, LinksOutOfTheOutputFolderAreReportedOnceAndNotWrittenThrough) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/help/toc.htm", "<body><a href=\"a.htm\">A</a><a href=\"out.htm\">O</a>");
  fs.AddFile("D:/help/a.htm", "<title>A</title><BREAD>");
  fs.AddFile("D:/help/real.htm", "<title>R</title>  <BREAD>");
  fs.AddLink("D:/help/in.htm", "D:/help/real.htm");
  const std::string outside = "<title>O</title>  <BREAD>";
  std::map<std::string, std::string> links = {{"D:/help/out.htm", "D:/else/out.htm"},
                                              {"D:/help/other.htm", "D:/else/other.htm"},
                                              {"D:/help/ia.htm", "D:/else/ia.htm"},
                                              {"D:/help/s.css", "D:/else/s.css"},
                                              {"D:/help/p.htm", "D:/help/setup/p.txt"}};
  for (const auto& [link, target] : links) {
    fs.AddFile(target, outside);
    fs.AddLink(link, target);
  }
  // A link is named also where the pass would leave the bytes as they are.
  links["D:/help/same.css"] = "D:/else/same.css";
  fs.AddFile("D:/else/same.css", "p{}");
  fs.AddLink("D:/help/same.css", "D:/else/same.css");
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-c"}), 0);
  EXPECT_NE(console.output.find("\ncomplete.\n"), std::string::npos);
  for (const auto& [link, target] : links) {
    EXPECT_EQ(fs.Content(target), target == "D:/else/same.css" ? "p{}" : outside) << link;
    const std::string message =
        "\nNot written (" + link + "): it links to a file outside the output folder.\n";
    const std::size_t first = console.output.find(message);
    EXPECT_NE(first, std::string::npos) << link;
    EXPECT_EQ(console.output.find(message, first + 1), std::string::npos) << link;
  }
  EXPECT_EQ(fs.Content("D:/help/real.htm"),
            "<title>R</title> <a class=\"bread\" href=\"in.htm\">R</a>");
  EXPECT_EQ(fs.Content("D:/help/a.htm"), "<title>A</title><a class=\"bread\" href=\"a.htm\">A</a>");
  // The menu page is the user's to name, wherever its link leads, also when the other-topics
  // pass finishes it or finds it unchanged.
  console.output.clear();
  fs.AddFile("D:/else/menu.htm", "");
  fs.AddLink("D:/help/menu.htm", "D:/else/menu.htm");
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-mm", "-mwD:/help/menu.htm"}), 0);
  EXPECT_EQ(fs.Content("D:/else/menu.htm").substr(0, 19), "<div class=\"menu\">\r");
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-c", "-mm", "-mwD:/help/menu.htm", "-nf",
                 "-mi0,0,0,x.htm,<FILENAME>,T"}),
            0);
  EXPECT_NE(fs.Content("D:/else/menu.htm").find("menu.htm"), std::string::npos);
  EXPECT_EQ(console.output.find("Not written (D:/help/menu.htm)"), std::string::npos);
}

// A small help set with one of each finding, the pages that are never unreachable, and a
// marker for each reason the check gives.
void AddHelpSetToCheck(MemoryFileSystem& fs) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm",
             "<title>Help</title><frameset><frame src=\"toc.htm\"><frame src=a.htm></frameset>");
  fs.AddFile("D:/help/toc.htm",
             "<a href=\"a.htm\">A</a>\n<a href=\"B.htm\">B</a><a href=\"gone.htm\">G</a>\n"
             "<a href=\"toc1.htm\">T</a><a href=\"out.htm\">O</a>");
  fs.AddFile("D:/help/toc1.htm", "<a href=\"c.htm\">C</a><MENU>");
  fs.AddFile("D:/help/a.htm",
             "<title>A</title><link href='s.css'><BREAD><BREAD><BREAD>\n"
             "<img src=pic.gif> <a href=\"c.htm#sec\">c</a> <a href=\"c.htm#none\">n</a> "
             "<a href=\"http://x/y.htm\">x</a> <!-- <a href=\"no.htm\"> --><FILENAME>"
             "<a href=\"c.htm#top\">t</a><a href=\"#\">u</a><a href=\"C.htm#none\">v</a>"
             "<a href=\"sub/s.htm\">w</a>");
  // Reached only through a page in a folder below, which the check does not report on.
  fs.AddFolder("D:/help/sub");
  fs.AddFile("D:/help/sub/s.htm", "<a href=\"../deep.htm\">D</a><a href=\"gone.htm\">G</a>");
  fs.AddFile("D:/help/deep.htm", "<title>D</title>");
  fs.AddFile("D:/help/b.htm", "<title>B</title>");
  fs.AddFile("D:/help/c.htm", "<title>C</title><h2 id=\"sec\">S</h2>");
  fs.AddFile("D:/help/orphan.htm", "<title>O</title>");
  fs.AddFile("D:/help/tab_x.htm", "tab");
  fs.AddFile("D:/help/top_top.htm", "nav");
  fs.AddFile("D:/help/pic.gif", "GIF89a");
  fs.AddFile("D:/help/s.css", "a{background:url(missing.png)} /* url(no.png) */");
  fs.AddFile("D:/else/out.htm", "<title>Out</title><BREAD>");
  fs.AddLink("D:/help/out.htm", "D:/else/out.htm");
}

// What is still wrong after the run follows "complete.", each at its place; --strict turns
// findings into exit code 4, and an ignore file takes the findings it names out.
TEST_F(RunTest, TheCheckReportsWhatIsStillWrongAfterTheRun) {
  AddHelpSetToCheck(fs);
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--check"}), 0);
  // Pages without titles, pictures without alt text and frames without titles are warnings;
  // the template's frames are reported once, where the index frame pages copy them from.
  const std::string findings =
      "D:/help/a.htm:1:106: marker-left: <BREAD> (only the first two are replaced)\n"
      "D:/help/a.htm:2:1: missing-alt: pic.gif\n"
      "D:/help/a.htm:2:54: broken-anchor: c.htm#none\n"
      "D:/help/a.htm:2:129: marker-left: <FILENAME> (no -nf switch)\n"
      "D:/help/a.htm:2:190: case-mismatch: C.htm#none (the file is c.htm)\n"
      "D:/help/iB.htm:1:78: case-mismatch: B.htm (the file is b.htm)\n"
      "D:/help/igone.htm:1:78: broken-link: gone.htm\n"
      "D:/help/index.htm:1:30: frame-title: toc.htm\n"
      "D:/help/index.htm:1:51: frame-title: a.htm\n"
      "D:/help/orphan.htm:1:1: unreachable: orphan.htm (nothing links it)\n"
      "D:/help/out.htm:1:1: outside-link: out.htm\n"
      "D:/help/out.htm:1:19: marker-left: <BREAD> (the page could not be written)\n"
      "D:/help/s.css:1:18: broken-link: missing.png\n"
      "D:/help/tab_x.htm:1:1: missing-title: tab_x.htm\n"
      "D:/help/toc.htm:1:1: missing-title: toc.htm\n"
      "D:/help/toc.htm:2:10: case-mismatch: B.htm (the file is b.htm)\n"
      "D:/help/toc.htm:2:31: broken-link: gone.htm\n"
      "D:/help/toc1.htm:1:1: missing-title: toc1.htm\n"
      "D:/help/toc1.htm:1:22: marker-left: <MENU> (TOC pages are not rewritten)\n"
      "D:/help/top_top.htm:1:1: missing-title: top_top.htm\n"
      "fsref.htm:1:45: frame-title: toc.htm (copied into 5 index frame pages)\n"
      "fsref.htm:1:66: frame-title: main.htm (copied into 5 index frame pages)\n";
  // Causes: a missing file takes every link to it, case mismatches included; the biggest
  // first, ties by name (a finding on its own goes by its page, then its place); ten at most.
  const std::string causes =
      "Causes:\n"
      "  2 findings in 2 pages: missing file B.htm\n"
      "  2 findings in 2 pages: missing file gone.htm\n"
      "  1 finding in 1 page: D:/help/a.htm:1:106: marker-left: <BREAD>\n"
      "  1 finding in 1 page: D:/help/a.htm:2:54: broken-anchor: c.htm#none\n"
      "  1 finding in 1 page: D:/help/a.htm:2:129: marker-left: <FILENAME>\n"
      "  1 finding in 1 page: D:/help/index.htm:1:30: frame-title: toc.htm\n"
      "  1 finding in 1 page: D:/help/index.htm:1:51: frame-title: a.htm\n"
      "  1 finding in 1 page: D:/help/out.htm:1:1: outside-link: out.htm\n"
      "  1 finding in 1 page: D:/help/out.htm:1:19: marker-left: <BREAD>\n"
      "  1 finding in 1 page: D:/help/tab_x.htm:1:1: missing-title: tab_x.htm\n"
      "  " +
      std::string(kConsoleEllipsis) + " and 10 more causes.\n";
  const std::string tail =
      "\ncomplete.\n" + findings + causes +
      "Check: 12 problems and 10 warnings in 12 pages; 17 pages and 29 links checked.\n";
  EXPECT_EQ(console.output.substr(console.output.find("\ncomplete.\n")), tail);

  fs.AddFile("accepted.txt",
             "# known\n\nunreachable D:/help/ORPHAN*\nbroken-link *.htm gone*\nmarker-left\n");
  // A report in the output folder, however its path is written, is no page of the help.
  for (int run = 0; run < 2; ++run) {
    console.output.clear();
    EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--strict", "-c", "--ignore=accepted.txt",
                   "--report=D:/help/./r.htm"}),
              4);
    EXPECT_EQ(console.output.find("unreachable: orphan"), std::string::npos);
    EXPECT_EQ(console.output.find("broken-link: gone"), std::string::npos);
    EXPECT_EQ(console.output.substr(console.output.rfind("\nCheck: ")),
              "\nCheck: 9 problems and 9 warnings in 10 pages; 17 pages and 30 links checked.\n");
  }
  EXPECT_TRUE(fs.HasFile("D:/help/r.htm"));
  // A report named like a page in other letter cases is that page only where the file system
  // takes the two names for one file (Windows); elsewhere the page is checked as any other.
  for (const bool ignores_case : {false, true}) {
    fs.ignores_letter_case = ignores_case;
    console.output.clear();
    EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--check", "--report=D:/help/ORPHAN.htm"}), 0);
    EXPECT_EQ(console.output.find("\nD:/help/orphan.htm:1:1: unreachable: orphan.htm (") ==
                  std::string::npos,
              ignores_case);
  }
  fs.ignores_letter_case = false;
  // So is the run's own menu page.
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-mm", "-mwD:/help/./m.htm", "--check"}), 0);
  EXPECT_TRUE(fs.HasFile("D:/help/m.htm"));
  EXPECT_EQ(console.output.find("unreachable: m.htm"), std::string::npos);
  // An unreachable page names up to three of the pages, unreached too, that link it.
  for (const char* name : {"o1.htm", "o2.htm", "o3.htm", "o4.htm"}) {
    fs.AddFile(std::string("D:/help/") + name,
               "<title>O</title><a href=\"orphan.htm\">O</a><a href=\"o1.htm\">1</a>");
  }
  // What is wrong in such a page is a warning, and says so after any reason of its own.
  fs.AddFile("D:/help/o2.htm",
             "<title>O</title><a href=\"orphan.htm\">O</a><a href=\"o1.htm\">1</a>"
             "<a href=\"B.htm\">B</a>");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--check"}), 0);
  for (const char* line :
       {"\nD:/help/orphan.htm:1:1: unreachable: orphan.htm (linked only from o1.htm, o2.htm, "
        "o3.htm and 1 more)\n",
        "\nD:/help/o1.htm:1:1: unreachable: o1.htm (linked only from o2.htm, o3.htm and "
        "o4.htm)\n",
        "\nD:/help/o2.htm:1:1: unreachable: o2.htm (nothing links it)\n"
        "D:/help/o2.htm:1:74: case-mismatch: B.htm (the file is b.htm; in a page nothing "
        "reaches)\n"}) {
    EXPECT_NE(console.output.find(line), std::string::npos) << line << console.output;
  }
  fs.RemoveFile("D:/help/o4.htm");
  fs.RemoveFile("D:/help/o3.htm");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--check"}), 0);
  EXPECT_NE(console.output.find("\nD:/help/orphan.htm:1:1: unreachable: orphan.htm (linked only "
                                "from o1.htm and o2.htm)\n"),
            std::string::npos);
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--ignore=none.txt"}), 1);
  const std::string missing = "Error: Ignore file (none.txt) not found.\n";
  EXPECT_EQ(console.output.substr(console.output.size() - missing.size()), missing);
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--report", "--checks"}), 1);
  EXPECT_NE(console.output.find("--report is not a legal switch."), std::string::npos);
  // A report needs a name; without one the run ends before it writes anything.
  fs.writes.clear();
  fs.replacements.clear();
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--report="}), 1);
  EXPECT_NE(console.output.find(".--report= is not a legal switch.\n"), std::string::npos);
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_TRUE(fs.replacements.empty());
  // A snippet marker left in a page says why: no -p file was read, or its own could not be.
  fs.AddFile("D:/help/deep.htm", "<title>D</title><PANEL1><PANEL2>");
  fs.AddFile("D:/help/p2.txt", "two");
  const std::string panel1 = "D:/help/deep.htm:1:17: marker-left: <PANEL1> ";
  const std::string panel2 = "D:/help/deep.htm:1:25: marker-left: <PANEL2> ";
  const std::pair<std::vector<std::string>, std::string> snippet_runs[] = {
      {{}, panel1 + "(no -p file was read)\n" + panel2 + "(no -p file was read)\n"},
      {{"-p1gone.txt"},
       panel1 + "(its -p1 file could not be read)\n" + panel2 + "(no -p file was read)\n"},
      {{"-p1gone.txt", "-p2p2.txt"}, panel1 + "(its -p1 file could not be read)\n"}};
  for (const auto& [switches, findings] : snippet_runs) {
    std::vector<std::string> arguments = {"fsref.htm", "D:/help/toc.htm", "--check"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    console.output.clear();
    EXPECT_EQ(Run(arguments), 0);
    std::string found;
    for (std::size_t at = console.output.find("\nD:/help/deep.htm:"); at != std::string::npos;
         at = console.output.find("\nD:/help/deep.htm:", at + 1)) {
      found += console.output.substr(at + 1, console.output.find('\n', at + 1) - at);
    }
    EXPECT_EQ(found, findings);
  }
  EXPECT_EQ(fs.Content("D:/help/deep.htm"), "<title>D</title><PANEL1>two");
  // A report whose folder takes no file ends the run before any pass writes.
  fs.FailWrites("D:/nodir/r.html", {WriteOutcome::kRefused, 2, "No such file or directory"});
  fs.writes.clear();
  fs.replacements.clear();
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-c", "--report=D:/nodir/r.html"}), 1);
  EXPECT_EQ(console.output,
            "\nIndex page(s) title:'Help'.\n\nCreating Index Frame Pages.\n"
            "Error: Report (D:/nodir/r.html) not written.\n");
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_TRUE(fs.replacements.empty());
  // A report that cannot be written ends the run with exit code 3 after the check.
  fs.AddFolder("D:/out");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--report=D:/out"}), 3);
  const std::string not_written = " checked.\n\nError: Report (D:/out) not written.\n";
  ASSERT_GE(console.output.size(), not_written.size());
  EXPECT_EQ(console.output.substr(console.output.size() - not_written.size()), not_written);
}

// Links are read as a browser follows them: character references and percent escapes decoded
// (hexadecimal digits in either case), the query dropped, "#top" in any case the page's top, a
// fragment looked up in pages below the folder too, and nothing checked beside a <base>, even one
// that comes after the links. Only the run's own menu page is exempt from being reached.
TEST_F(RunTest, TheCheckReadsLinksAsABrowserFollowsThem) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/help/toc.htm", "<a href=\"a.htm\">A</a><a href=\"m.htm\">M</a>");
  fs.AddFile("D:/help/a.htm",
             "<title>A</title>\n"
             "<a href=\"a.htm#TOP\">1</a><a href=\"#Top\">2</a><a href=\"a.htm#topx\">3</a>\n"
             "<a href=\"sub/s.htm#nosuch\">4</a><a href=\"sub/s.htm#sec\">5</a>\n"
             "<div name=\"part2\"></div><a name=\"part3\"></a><a href=\"#part2\">6</a>"
             "<a href=\"#part3\">7</a>\n"
             "<a href=\"t&#x6F;pic.htm\">8</a><a href=\"t&#X6f;pic.htm\">9</a>"
             "<a href=\"t%6Fpic.htm\">10</a><a href=\"t%6fpic.htm\">11</a>"
             "<a href=\"&#x6a;.htm\">12</a><a href=\"&#x6A;.htm\">13</a>"
             "<a href=\"%6a.htm\">14</a><a href=\"%6A.htm\">15</a>\n"
             "<a href=\"b.htm?from=a\">16</a><a href=\"2:x.htm\">17</a>"
             "<a href=\"dir.htm#x\">18</a><b");
  fs.AddFile("D:/help/b.htm",
             "<title>B</title><a href=\"gone.htm\"><a href=\"sub/t.htm\">"
             "<base href=\"http://example.com/docs/\"><a href=\"nothere.htm\">");
  // Nor does a page below that only b.htm's base takes elsewhere reach a page for it.
  fs.AddFile("D:/help/z.htm", "<title>Z</title>");
  fs.AddFile("D:/help/m.htm", "<title>M</title><MENU><MENU><MENU><BREAD><BREAD><BREAD>");
  fs.AddFile("D:/help/topic.htm", "<title>T</title>");
  fs.AddFile("D:/help/j.htm", "<title>J</title>");
  fs.AddFolder("D:/help/sub");
  // A style sheet below is no page a reader opens: what it names is not reached through it.
  fs.AddFile("D:/help/sub/s.htm", "<p id=\"sec\">S</p><link href=\"s.css\">");
  fs.AddFile("D:/help/sub/s.css", "a{background:url(../toc-menu.htm)}");
  fs.AddFile("D:/help/sub/t.htm", "<a href=\"../z.htm\">Z</a>");
  fs.AddFolder("D:/help/dir.htm");
  // A menu page an earlier run left in the folder.
  fs.AddFile("D:/help/toc-menu.htm", "<a href=\"a.htm\">A</a>");
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-mm", "--check"}), 0);
  const std::string tail =
      "\ncomplete.\n"
      "D:/help/a.htm:2:55: broken-anchor: a.htm#topx\n"
      "D:/help/a.htm:3:10: broken-anchor: sub/s.htm#nosuch\n"
      "D:/help/a.htm:4:54: broken-anchor: #part2\n"
      "D:/help/a.htm:6:39: broken-link: 2:x.htm\n"
      "D:/help/m.htm:11:1: marker-left: <MENU> (only the first two are replaced)\n"
      "D:/help/m.htm:11:77: marker-left: <BREAD> (only the first two are replaced)\n"
      "D:/help/toc-menu.htm:1:1: unreachable: toc-menu.htm (nothing links it)\n"
      "D:/help/toc-menu.htm:1:1: missing-title: toc-menu.htm (in a page nothing reaches)\n"
      "D:/help/toc.htm:1:1: missing-title: toc.htm\n"
      "D:/help/z.htm:1:1: unreachable: z.htm (nothing links it)\n"
      "fsref.htm:1:45: frame-title: toc.htm (copied into 2 index frame pages)\n"
      "fsref.htm:1:66: frame-title: main.htm (copied into 2 index frame pages)\n"
      "Causes:\n"
      "  3 findings in 2 pages: pages nothing reaches\n"
      "  1 finding in 1 page: D:/help/a.htm:2:55: broken-anchor: a.htm#topx\n"
      "  1 finding in 1 page: D:/help/a.htm:3:10: broken-anchor: sub/s.htm#nosuch\n"
      "  1 finding in 1 page: D:/help/a.htm:4:54: broken-anchor: #part2\n"
      "  1 finding in 1 page: D:/help/m.htm:11:1: marker-left: <MENU>\n"
      "  1 finding in 1 page: D:/help/m.htm:11:77: marker-left: <BREAD>\n"
      "  1 finding in 1 page: D:/help/toc.htm:1:1: missing-title: toc.htm\n"
      "  1 finding in 1 page: fsref.htm:1:45: frame-title: toc.htm\n"
      "  1 finding in 1 page: fsref.htm:1:66: frame-title: main.htm\n"
      "  1 finding in 1 page: missing file 2:x.htm\n"
      "Check: 6 problems and 6 warnings in 6 pages; 11 pages and 27 links checked.\n";
  EXPECT_EQ(console.output.substr(console.output.find("\ncomplete.\n")), tail);
  // Run in the output folder, the menu page's default name is the page itself: exempt with
  // -mm, which writes it, and unreachable as any other page without.
  // A nested TOC page linked after the last topic link is one only the index frame walk
  // enters: the index frame page it writes for that page's topic is the run's own all the same.
  fs.AddFile("index.htm", "<title>Help</title>");
  fs.AddFile("toc.htm", "<a href=\"a.htm\">A</a><a href=\"toc9.htm\">T</a>");
  fs.AddFile("toc9.htm", "<title>T</title><a href=\"b.htm\">B</a><a href=\"my-b.htm\">M</a>");
  fs.AddFile("my-b.htm", "<title>M</title>");
  fs.AddFile("a.htm", "<title>A</title>");
  fs.AddFile("b.htm", "<title>B</title>");
  fs.AddFile("toc-menu.htm", "<a href=\"a.htm\">A</a>");
  for (const bool menu : {false, true}) {
    console.output.clear();
    EXPECT_EQ(Run(menu ? std::vector<std::string>{"fsref.htm", "toc.htm", "-mm", "--check"}
                       : std::vector<std::string>{"fsref.htm", "toc.htm", "--check"}),
              0);
    EXPECT_EQ(
        console.output.find("\ntoc-menu.htm:1:1: unreachable: toc-menu.htm (") == std::string::npos,
        menu);
    EXPECT_TRUE(fs.HasFile("ib.htm"));
    EXPECT_EQ(console.output.find("ib.htm:1:1: unreachable"), std::string::npos) << console.output;
    EXPECT_NE(console.output.find("\ntoc9.htm:1:47: unread-toc-name: my-b.htm (the TOC "
                                  "scan reads \"my\", cut at column 49)\n"),
              std::string::npos);
  }
  // Index frame pages an earlier run left are the run's own too, when this one writes none.
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "toc.htm", "-fin", "--check"}), 0);
  EXPECT_TRUE(fs.HasFile("ia.htm"));
  EXPECT_EQ(console.output.find("ia.htm:1:1: unreachable"), std::string::npos) << console.output;
}

// What only this tool can tell: TOC links whose names the TOC scan cuts short, topics whose
// index frame pages get an empty title, and frames without titles, those of the template once,
// where every index frame page copies them from, and never on the index frame pages.
// The menu a topic took holds the menu page's links, however many topics took it: they count,
// reach and are reported in each topic as in a page of their own, but not where a comment
// holds the menu.
TEST_F(RunTest, TheCheckFindsTheMenusLinksInEveryTopicThatTookIt) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/help/toc.htm", "<body><a href=\"a.htm\">A</a><a href=\"b.htm\">B</a></body>");
  fs.AddFile("D:/help/a.htm", "<title>A</title><MENU>");
  fs.AddFile("D:/help/b.htm", "<title>B</title><p><MENU></p><!-- <MENU> -->");
  fs.AddFile("D:/help/x.htm", "<title>X</title>");
  fs.AddFile("D:/help/y.htm", "<title>Y</title>");
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-mm", "-mwD:/help/toc-menu.htm",
                 "-mi0,0,0,x.htm,X,X", "--check"}),
            0);
  // x.htm is reached through the topics' menus alone; y.htm through nothing. The links: two
  // of the TOC page, three of the menu page, three in each topic's menu, one in each index
  // frame page.
  EXPECT_EQ(console.output.find("unreachable: x.htm"), std::string::npos);
  EXPECT_NE(console.output.find("\nD:/help/y.htm:1:1: unreachable: y.htm (nothing links it)\n"),
            std::string::npos);
  EXPECT_EQ(console.output.substr(console.output.rfind("\nCheck: ")),
            "\nCheck: no problems and 4 warnings in 3 pages; 9 pages and 15 links checked.\n");
  // A menu with a broken link has it in every topic that took it.
  fs.AddFile("D:/help/a.htm", "<title>A</title><MENU>");
  fs.AddFile("D:/help/b.htm", "<title>B</title><p><MENU></p><!-- <MENU> -->");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-mm", "-mwD:/help/toc-menu.htm",
                 "-mi0,0,0,gone.htm,G,G", "--check"}),
            0);
  EXPECT_NE(console.output.find("\ncomplete.\nD:/help/a.htm:3:41: broken-link: gone.htm\n"
                                "D:/help/b.htm:3:41: broken-link: gone.htm\n"
                                "D:/help/toc-menu.htm:3:41: broken-link: gone.htm\n"),
            std::string::npos);
}

TEST_F(RunTest, TheCheckNamesWhatTheRunCannotDoForAPage) {
  // Its line end makes the topics pass rewrite it (LF becomes CR LF).
  fs.AddFile("D:/help/fsref.htm",
             "<title></title><frameset><frame src=\"toc.htm\"><frame src=\"main.htm\" "
             "title=\"Topic\"></frameset>\n");
  fs.AddFile("D:/help/index.htm", "<title>Help</title><iframe src=\"a.htm\" title=\"A\">");
  fs.AddFile(
      "D:/help/toc.htm",
      "<title>Contents</title><a href=\"./a.htm?x\">A</a><a href=\"my page.htm\">1</a>\n"
      "<a href=\"my%20page.htm\">2</a><a href=\"caf\xC3\xA9.htm\">3</a>"
      "<a href=\"sub/s.htm\">4</a><a href=\"blank.htm\">5</a><a href=\"http://x/a-b.htm\">6</a>"
      "<img src=\"a-b.htm\" alt=\"\">\n<A HREF=\"a.htm\">7</A><a href='a.htm'>8</a>"
      "<a href=\"-x.htm\">9</a>");
  fs.AddFile("D:/help/a.htm", "<title>A</title><MENU>");
  fs.AddFile("D:/help/my page.htm", "<title>M</title>");
  fs.AddFile("D:/help/caf\xC3\xA9.htm", "<title>C</title>");
  fs.AddFile("D:/help/a-b.htm", "<title>AB</title>");
  fs.AddFolder("D:/help/sub");
  fs.AddFile("D:/help/sub/s.htm", "<title>S</title>");
  // The scan reads "x.htm" here, and the run makes an index frame page for that page.
  fs.AddFile("D:/help/-x.htm", "<title>X</title>");
  fs.AddFile("D:/help/x.htm", "<title>X</title>");
  // A title's finding stands at the title, after what comes before it.
  fs.AddFile("D:/help/blank.htm", "<img src=\"b.gif\"><title> </title>");
  fs.AddFile("D:/help/b.gif", "GIF89a");
  // A dry run first, which finds the same, though the template it rewrote is kept nowhere.
  EXPECT_EQ(Run({"D:/help/fsref.htm", "D:/help/toc.htm", "-mm", "--strict", "--dry-run"}), 0);
  const std::string dry_output = console.output;
  console.output.clear();
  EXPECT_EQ(Run({"D:/help/fsref.htm", "D:/help/toc.htm", "-mm", "--strict"}), 0);
  // The template here lies in the output folder: its frames are reported once, as the
  // template's, its empty title is the run's to fill, and it is a page nothing reaches as any
  // other.
  const std::string findings =
      "D:/help/blank.htm:1:1: missing-alt: b.gif\n"
      "D:/help/blank.htm:1:18: missing-title: blank.htm (its index frame page iblank.htm is "
      "titled with nothing)\n"
      "D:/help/fsref.htm:1:1: unreachable: fsref.htm (nothing links it)\n"
      "D:/help/fsref.htm:1:26: frame-title: toc.htm (copied into 3 index frame pages; in a page "
      "nothing reaches)\n"
      "D:/help/fsref.htm:1:59: broken-link: main.htm (in a page nothing reaches)\n"
      "D:/help/toc.htm:1:58: unread-toc-name: my page.htm (the TOC scan reads \"my\", cut at "
      "column 60)\n"
      "D:/help/toc.htm:2:10: unread-toc-name: my%20page.htm (the TOC scan reads \"my\", cut at "
      "column 12)\n"
      "D:/help/toc.htm:2:39: unread-toc-name: caf\xC3\xA9.htm (the TOC scan reads \"caf\", cut at "
      "column 42)\n"
      "D:/help/toc.htm:2:64: unread-toc-name: sub/s.htm (the TOC scan reads \"sub\", cut at "
      "column 67)\n"
      "D:/help/toc.htm:3:10: unread-toc-name: a.htm (the TOC scan reads only href=\"...\" in "
      "lower case)\n"
      "D:/help/toc.htm:3:31: unread-toc-name: a.htm (the TOC scan reads only href=\"...\" in "
      "lower case)\n"
      "D:/help/toc.htm:3:52: unread-toc-name: -x.htm (the TOC scan reads \"x.htm\")\n"
      "D:/help/x.htm:1:1: unreachable: x.htm (linked only from ix.htm)\n";
  const std::size_t start = console.output.find("\ncomplete.\n") + 11;
  EXPECT_EQ(console.output.substr(start, console.output.find("Causes:\n") - start), findings);
  EXPECT_EQ(dry_output.substr(start, dry_output.find("Causes:\n") - start), findings);
  EXPECT_TRUE(fs.HasFile("D:/help/ia.htm"));
  EXPECT_TRUE(fs.HasFile("D:/help/iblank.htm"));
  // With -ft off the index frame pages take the index page's title, and say nothing of the
  // topic's, even where the index page's title is empty too.
  fs.AddFile("D:/help/index.htm", "<title></title><iframe src=\"a.htm\" title=\"A\">");
  console.output.clear();
  EXPECT_EQ(Run({"D:/help/fsref.htm", "D:/help/toc.htm", "-ftn", "--check"}), 0);
  EXPECT_NE(console.output.find("\nD:/help/blank.htm:1:18: missing-title: blank.htm\n"),
            std::string::npos)
      << console.output;
}

// A dry run prints what a real run prints, writes nothing, refuses what a real run refuses,
// and lists exactly the files a real run changes and creates.
TEST_F(RunTest, ADryRunWritesNothingAndListsWhatARealRunChanges) {
  // An earlier report in the output folder, which the passes compress as a page.
  const std::string old_report = "<p>  old   report  </p>";
  AddHelpSetToCheck(fs);
  fs.MakeReadOnly("D:/help/c.htm");
  fs.AddFile("D:/help/report.htm", old_report);
  MemoryFileSystem real;
  AddHelpSetToCheck(real);
  real.MakeReadOnly("D:/help/c.htm");
  real.AddFile("D:/help/report.htm", old_report);
  MemoryConsole real_console;
  EXPECT_EQ(RunQuorva({"fsref.htm", "D:/help/toc.htm", "-c", "-mm", "-mwD:/help/m.htm"}, real,
                      real_console),
            0);
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--dry-run", "-c", "-mm", "-mwD:/help/m.htm",
                 "--report=D:/help/report.htm"}),
            0);
  // The report is the only file written.
  EXPECT_TRUE(fs.writes.empty());
  EXPECT_EQ(fs.replacements, std::vector<std::string>{"D:/help/report.htm"});
  ASSERT_EQ(console.output.compare(0, real_console.output.size(), real_console.output), 0);
  std::set<std::string> changed(real.replacements.begin(), real.replacements.end());
  EXPECT_EQ(changed.erase("D:/help/report.htm"), 1u);
  std::string plan;
  for (const std::string& path : changed) {
    plan += "Would change: " + path + "\n";
  }
  for (const std::string& path : std::set<std::string>(real.writes.begin(), real.writes.end())) {
    plan += "Would create: " + path + "\n";
  }
  plan += "Dry run: " + std::to_string(changed.size()) + " files would change and " +
          std::to_string(real.writes.size()) + " would be created; none was written.\n";
  const std::size_t plan_start = console.output.find("Would change: ");
  ASSERT_NE(plan_start, std::string::npos);
  EXPECT_EQ(console.output.substr(plan_start), plan);
  EXPECT_EQ(changed.count("D:/help/c.htm"), 0u);
  // Only the report itself is left out of the list: a page named like it in other letter cases
  // is another file, except where the file system ignores letter case.
  for (const bool ignores_case : {false, true}) {
    fs.ignores_letter_case = ignores_case;
    console.output.clear();
    EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--dry-run", "--report=D:/help/A.htm"}), 0);
    EXPECT_EQ(console.output.find("\nWould change: D:/help/a.htm\n") == std::string::npos,
              ignores_case);
  }
}

// A page two compression groups rewrite (markup, then style sheet) is checked as the second left
// it, in a dry run as in a real one.
TEST_F(RunTest, ADryRunChecksAPageTwoGroupsCompressAsTheLastLeftIt) {
  // The style sheet rules drop the comment, and move the link.
  const std::string page = "<p>/* c */<a href=\"none.htm\">n</a>\n";
  AddHelpSetToCheck(fs);
  fs.AddFile("D:/help/x.htm.css", page);
  MemoryFileSystem real;
  AddHelpSetToCheck(real);
  real.AddFile("D:/help/x.htm.css", page);
  MemoryConsole real_console;
  EXPECT_EQ(RunQuorva({"fsref.htm", "D:/help/toc.htm", "-c", "--check"}, real, real_console), 0);
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "-c", "--check", "--dry-run"}), 0);
  auto finding = [](const std::string& output) {
    const std::size_t found = output.find(": broken-link: none.htm");
    if (found == std::string::npos) {
      return std::string();
    }
    const std::size_t start = output.rfind('\n', found) + 1;
    return output.substr(start, output.find('\n', found) - start);
  };
  EXPECT_EQ(finding(real_console.output),
            "D:/help/x.htm.css:1:13: broken-link: none.htm (in a page nothing reaches)");
  EXPECT_EQ(finding(console.output), finding(real_console.output));
}

// Where a replaced file takes the name it is written under (NTFS), a topic the TOC names in other
// letter cases than the disk's takes the TOC's spelling, and the check judges links by the names
// the folder has once the run is done, in a dry run as in a real one.
TEST_F(RunTest, TheCheckTakesTheNamesTheRunLeavesWhereAReplacedFileTakesANewSpelling) {
  auto add_help = [](MemoryFileSystem& help) {
    help.replace_takes_new_spelling = true;
    help.AddFile("fsref.htm", kTemplate);
    help.AddFile("D:/help/index.htm",
                 "<title>Help</title><frameset><frame src=\"toc.htm\" title=\"t\">"
                 "<frame src=\"a.htm\" title=\"m\"></frameset>");
    help.AddFile("D:/help/toc.htm", "<a href=\"a.htm\">A</a><a href=\"Topic.htm#s\">T</a>");
    help.AddFile("D:/help/a.htm",
                 "<title>A</title><a href=\"topic.htm\">t</a>\n<a href=\"Topic.htm#x\">u</a>"
                 "<a href=\"topic.htm#s\">v</a>");
    help.AddFile("D:/help/topic.htm", "<title>T</title><h2 id=\"s\">S</h2>\n");
  };
  add_help(fs);
  MemoryFileSystem real;
  add_help(real);
  MemoryConsole real_console;
  EXPECT_EQ(RunQuorva({"fsref.htm", "D:/help/toc.htm", "--check"}, real, real_console), 0);
  EXPECT_TRUE(real.HasFile("D:/help/Topic.htm"));
  EXPECT_EQ(real.ListFolder("D:/help", "t*"), (FolderNames{"toc.htm", "Topic.htm"}));
  const std::string findings =
      "D:/help/a.htm:1:26: case-mismatch: topic.htm (the file is Topic.htm)\n"
      "D:/help/a.htm:2:10: broken-anchor: Topic.htm#x\n"
      "D:/help/a.htm:2:37: case-mismatch: topic.htm#s (the file is Topic.htm)\n";
  const std::size_t start = real_console.output.find("D:/help/a.htm:");
  ASSERT_NE(start, std::string::npos) << real_console.output;
  EXPECT_EQ(real_console.output.substr(start, findings.size()), findings) << real_console.output;
  // The dry run counts the page once, and finds what the real run finds.
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--check", "--dry-run"}), 0);
  EXPECT_EQ(console.output.compare(0, real_console.output.size(), real_console.output), 0)
      << console.output;
}

// A page no pass writes is read at the end, the first name of the output folder too.
TEST_F(RunTest, TheCheckReadsAtTheEndEveryPageNoPassWrote) {
  const std::pair<const char*, const char*> files[] = {
      {"fsref.htm", kTemplate},
      {"D:/help/index.htm", "<title>Help</title>"},
      {"D:/help/toc.htm", "<title>T</title><a href=\"a.htm\">A</a>"},
      {"D:/help/a.htm", "<title>A</title><link rel=\"stylesheet\" href=\"0.css\">"},
      {"D:/help/0.css", "p { background: url(missing.gif) }"}};
  for (const auto& [path, bytes] : files) {
    fs.AddFile(path, bytes);
  }
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--check"}), 0);
  EXPECT_NE(console.output.find("\nD:/help/0.css:1:21: broken-link: missing.gif\n"),
            std::string::npos)
      << console.output;
}

TEST_F(RunTest, TheWebCheckAsksThePagesWebLinksAndRemembersWhatItLearned) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/help/toc.htm", "<title>T</title><a href=\"a.htm\">A</a>");
  fs.AddFile("D:/help/a.htm",
             "<title>A</title>\n<a href=\"http://a.example/missing\">m</a> "
             "<a href=\"http://a.example/forbidden\">f</a> <a href=\"http://127.0.0.1:8/\">p</a>");
  FakeWebClient web;
  web.On("*", "http://a.example/missing", {FakeWebClient::Status(404)});
  web.On("*", "http://a.example/forbidden", {FakeWebClient::Status(403)});
  web.On("*", "http://127.0.0.1:8/", {FakeWebClient::Status(200)});
  const WebAccess access{[] { return true; }, [&web] { return web.Open(); }};
  auto run_web = [&](std::vector<std::string> switches) {
    std::vector<std::string> arguments = {"fsref.htm", "D:/help/toc.htm", "--web"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    console.output.clear();
    return RunQuorva(arguments, fs, console, access);
  };

  // Where the web cannot be used, the run ends before it writes anything.
  EXPECT_EQ(Run({"fsref.htm", "D:/help/toc.htm", "--web"}), 1);
  EXPECT_NE(console.output.find("\nError: --web needs libcurl (Debian and Ubuntu: libcurl4).\n"),
            std::string::npos);
  EXPECT_TRUE(fs.writes.empty() && fs.replacements.empty());
  for (const char* timeout : {"--web-timeout=abc", "--web-timeout=0", "--web-timeout=601",
                              "--web-timeout=+5", "--web-timeout="}) {
    EXPECT_EQ(run_web({timeout}), 1);
    EXPECT_NE(console.output.find(std::string(timeout) + " is not a legal switch.\n"),
              std::string::npos);
  }
  EXPECT_TRUE(web.starts().empty());

  // A broken address is a problem for --strict; a refusal only a warning. A private address is
  // not asked without --web-private.
  EXPECT_EQ(run_web({"--strict", "--web-timeout=7", "--web-cache=D:/cache/web.txt"}), 4);
  EXPECT_NE(console.output.find("\nD:/help/a.htm:2:10: web-broken: http://a.example/missing (404 "
                                "Not Found)\nD:/help/a.htm:2:51: web-unverified: "
                                "http://a.example/forbidden (403 Forbidden: the site may refuse "
                                "robots)\n"),
            std::string::npos)
      << console.output;
  EXPECT_NE(console.output.find("  1 finding in 1 page: web address http://a.example/missing\n"),
            std::string::npos);
  EXPECT_NE(console.output.find("\nCheck: 1 problem and 3 warnings in 2 pages; 4 pages and 3 links "
                                "checked.\nWeb: 3 addresses: 0 fine, 1 broken, 0 moved, 1 "
                                "unverified, 1 not asked; 2 asked, 0 from the cache.\n"),
            std::string::npos)
      << console.output;
  EXPECT_EQ(web.RequestsTo("http://127.0.0.1:8/"), 0u);
  EXPECT_EQ(web.timeouts().front(), 7);
  // A terminal shows how far the asking is, in place, and the line goes before the findings.
  EXPECT_EQ(console.progress, (std::vector<std::string>{"Web: 1 of 2 addresses asked",
                                                        "Web: 2 of 2 addresses asked", ""}));
  const std::string cache = *fs.ReadBinary("D:/cache/web.txt");
  EXPECT_EQ(cache.compare(0, 21, "# QUORVA web cache 1\n"), 0);
  EXPECT_NE(cache.find("http://a.example/missing\tbroken\t404\t-\t"), std::string::npos);

  // A cache cut short is said to be so and made whole again; a dry run writes it too, and
  // asks the private address with --web-private.
  fs.AddFile("D:/cache/web.txt", cache.substr(0, cache.size() / 2));
  EXPECT_EQ(run_web({"--dry-run", "--web-private", "--web-cache=D:/cache/web.txt"}), 0);
  EXPECT_NE(console.output.find("Warning: Web cache (D:/cache/web.txt) not read: it ends in the "
                                "middle of a line.\n"),
            std::string::npos);
  EXPECT_EQ(web.RequestsTo("http://127.0.0.1:8/"), 1u);
  EXPECT_NE(fs.ReadBinary("D:/cache/web.txt")->find("http://127.0.0.1:8/\tfine\t200\t"),
            std::string::npos);
  EXPECT_EQ(console.output.find("Would create: D:/cache/web.txt"), std::string::npos);
  EXPECT_EQ(console.output.find("Would change: D:/cache/web.txt"), std::string::npos);

  // Where the library was found but cannot be loaded, the run says what it needs.
  const WebAccess broken{[] { return true; }, [] { return std::unique_ptr<WebClient>(); }};
  console.output.clear();
  EXPECT_EQ(RunQuorva({"fsref.htm", "D:/help/toc.htm", "--web", "--web-cache=D:/cache/none.txt"},
                      fs, console, broken),
            1);
  EXPECT_NE(console.output.find("complete.\n\nError: --web needs libcurl (Debian and Ubuntu: "
                                "libcurl4).\n"),
            std::string::npos)
      << console.output;
  EXPECT_FALSE(fs.ReadBinary("D:/cache/none.txt"));

  // Only warnings: --strict is content.
  fs.AddFile("D:/help/a.htm", "<title>A</title><a href=\"http://a.example/forbidden\">f</a>");
  EXPECT_EQ(run_web({"--strict"}), 0);
  // A cache whose folder takes no files ends the run before the passes, as a report does; one
  // that cannot be written at the end, with exit code 3.
  fs.FailWrites("D:/nodir/web.txt", {WriteOutcome::kRefused, 2, "No such file or directory"});
  EXPECT_EQ(run_web({"--web-cache=D:/nodir/web.txt"}), 1);
  EXPECT_EQ(console.output,
            "\nIndex page(s) title:'Help'.\n\nCreating Index Frame Pages.\n"
            "Error: Web cache (D:/nodir/web.txt) not written.\n");
  fs.AddFolder("D:/out");
  EXPECT_EQ(run_web({"--web-cache=D:/out"}), 3);
  const std::string not_written = "from the cache.\n\nError: Web cache (D:/out) not written.\n";
  ASSERT_GE(console.output.size(), not_written.size());
  EXPECT_EQ(console.output.substr(console.output.size() - not_written.size()), not_written);
}

TEST_F(RunTest, SetupErrorsEndWithExitCodeOne) {
  fs.AddFile("fsref.htm", kTemplate);
  EXPECT_EQ(Run({"missing.htm", "out/toc.htm"}), 1);
  EXPECT_EQ(console.output, "Error: Reference File (missing.htm) not found.\n");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "out/toc.htm"}), 1);
  EXPECT_EQ(console.output, "Error Cannot find <title>: (out/index.htm).\n");
  fs.AddFile("out/index.htm", "<title>T</title>");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "out/toc.htm", "-c", "-bx", "-Q"}), 1);
  EXPECT_EQ(
      console.output,
      "\nIndex page(s) title:'T'.\n\nCreating Index Frame Pages.-bx is not a legal switch.\n");
  console.output.clear();
  fs.AddFile("plain.htm", "<html>no frames</html>");
  EXPECT_EQ(Run({"plain.htm", "out/toc.htm"}), 1);
  EXPECT_EQ(
      console.output,
      "\nIndex page(s) title:'T'.\n\nCreating Index Frame Pages.Error: (plain.htm) not read.\n");
  console.output.clear();
  std::string long_path = "out/" + std::string(260, 'a') + "/toc.htm";
  EXPECT_EQ(Run({"fsref.htm", long_path}), 1);
  EXPECT_EQ(console.output, "Error: Path too long (" + long_path + ").\n");
}

TEST_F(RunTest, PathsOverTheLimitAreRefused) {
  fs.AddFile("fsref.htm", kTemplate);
  // The index page path beside the TOC page may have 259 characters, not 260.
  const std::string fits = std::string(249, 'a') + "/";
  fs.AddFile(fits + "index.htm", "<title>T</title>");
  fs.AddFile(fits + "toc.htm", "<a href=\"a.htm\">A</a>");
  EXPECT_EQ(Run({"fsref.htm", fits + "toc.htm"}), 0);
  const std::string over = std::string(250, 'a') + "/";
  fs.AddFile(over + "index.htm", "<title>T</title>");
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", over + "toc.htm"}), 1);
  EXPECT_EQ(console.output, "Error: Path too long (" + over + "index.htm).\n");

  // A template path is refused once there is an output folder to work on.
  const std::string long_template = std::string(260, 't') + "/fsref.htm";
  fs.AddFile(long_template, kTemplate);
  console.output.clear();
  EXPECT_EQ(Run({long_template}), 0);
  EXPECT_EQ(console.output, "");
  EXPECT_EQ(Run({long_template, fits + "toc.htm"}), 1);
  EXPECT_EQ(console.output, "Error: Path too long (" + long_template + ").\n");
}

}  // namespace
}  // namespace quorva
