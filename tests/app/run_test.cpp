#include "app/run.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"

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

TEST_F(RunTest, HelpFlagsShowUsageWithoutTheKeyRequestOnlyAsAMissingFirstArgument) {
  EXPECT_EQ(Run({}), 0);
  const std::string usage = console.output;
  const std::string key_request = " -- Press any key --.";
  for (const char* flag : {"--help", "-h", "-?", "/?"}) {
    console.output.clear();
    EXPECT_EQ(Run({flag, "help/toc.htm", "-c"}), 0) << flag;
    EXPECT_EQ(console.output + key_request, usage) << flag;
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

TEST_F(RunTest, TocAndIndexPagesFollowFromTheSecondArgument) {
  fs.AddFile("fsref.htm", kTemplate);
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/index.htm", "<title>Root</title>");
  auto expected = [](const std::string& title, const std::string& toc_page) {
    return "\nIndex page(s) title:'" + title +
           "'.\n\nCreating Index Frame Pages.\n\n\nCreating indexfiles.\n"
           "\n ParseThisToc - Error " +
           toc_page +
           " NOT found.\n\n\n\nCreating Breadcrumbs and modifying topics.\n"
           "\n ParseThisBreadToc - Error " +
           toc_page + " NOT found.\n\ncomplete.\n";
  };
  EXPECT_EQ(Run({"fsref.htm", "D:/help/"}), 0);
  EXPECT_EQ(console.output, expected("Help", "D:/help/toc.htm"));
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/contents"}), 0);
  EXPECT_EQ(console.output, expected("Help", "D:/help/contents"));
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help"}), 0);
  EXPECT_EQ(console.output, expected("Root", "D:/help"));
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
