#include "driver/run.h"

#include <gtest/gtest.h>

#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

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

TEST_F(RunTest, VersionOnlyAsAMissingFirstArgument) {
  EXPECT_EQ(Run({"-version"}), 0);
  EXPECT_EQ(console.output, "\nQUORVA Tessivane -- Version: 2.2.1.\n\n");
  console.output.clear();
  EXPECT_EQ(Run({"-VER"}), 1);
  EXPECT_EQ(console.output, "Error: Reference File (-VER) not found.\n");
  console.output.clear();
  fs.AddFile("-ver", "a template named -ver");
  EXPECT_EQ(Run({"-ver"}), 0);
  EXPECT_EQ(console.output, "");
}

TEST_F(RunTest, OneExistingArgumentDoesNothing) {
  fs.AddFile("fsref.htm", "x");
  EXPECT_EQ(Run({"fsref.htm"}), 0);
  EXPECT_EQ(console.output, "");
}

TEST_F(RunTest, IndexPageIsLookedForBesideTheTocPage) {
  fs.AddFile("fsref.htm", "x");
  fs.AddFile("D:/help/index.htm", "<title>Help</title>");
  fs.AddFile("D:/index.htm", "<title>Root</title>");
  const std::string head = "\nIndex page(s) title:'";
  const std::string tail = "'.\n\nCreating Index Frame Pages.\ncomplete.\n";
  EXPECT_EQ(Run({"fsref.htm", "D:/help/"}), 0);
  EXPECT_EQ(console.output, head + "Help" + tail);
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help/contents"}), 0);
  EXPECT_EQ(console.output, head + "Help" + tail);
  console.output.clear();
  EXPECT_EQ(Run({"fsref.htm", "D:/help"}), 0);
  EXPECT_EQ(console.output, head + "Root" + tail);
}

TEST_F(RunTest, SetupErrorsEndWithExitCodeOne) {
  fs.AddFile("fsref.htm", "x");
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
  std::string long_path = "out/" + std::string(260, 'a') + "/toc.htm";
  EXPECT_EQ(Run({"fsref.htm", long_path}), 1);
  EXPECT_EQ(console.output, "Error: Path too long (" + long_path + ").\n");
}

}  // namespace
}  // namespace quorva
