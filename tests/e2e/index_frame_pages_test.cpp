#include <gtest/gtest.h>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"

namespace quorva {
namespace {

const char kTemplate[] =
    "<html>\r\n<head><title></title></head>\r\n<frameset cols=\"25%,*\">\r\n"
    "<frame src=\"toc.htm\" name=\"toc\">\r\n<frame src=\"main.htm\" name=\"main\">\r\n"
    "</frameset>\r\n</html>\r\n";

std::string Page(const std::string& title, const std::string& toc, const std::string& main) {
  return "<html>\r\n<head><title>" + title +
         "</title></head>\r\n<frameset cols=\"25%,*\">\r\n<frame src=\"" + toc +
         "\" name=\"toc\">\r\n<frame src=\"" + main +
         "\" name=\"main\">\r\n</frameset>\r\n</html>\r\n";
}

std::string Links(std::initializer_list<const char*> names) {
  std::string page = "<html><body>\r\n";
  for (const char* name : names) {
    page += std::string("<a href=\"") + name + "\">x</a>\r\n";
  }
  return page + "</body></html>\r\n";
}

class IndexFramePagesE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("fsref.htm", kTemplate);
    dir.Write("help/index.htm", "<title>Sample Help</title>");
    dir.Write("help/toc.htm", Links({"1.htm", "toc1.htm", "2.htm", "1.htm", "tab_toc.htm",
                                     "toc.htm", "TOC5.HTM", "style.css"}));
    dir.Write("help/toc1.htm", Links({"3.htm", "toc1.htm", "2.htm"}));
    dir.Write("help/1.htm", "<html><head><title>One</title></head></html>\r\n");
    dir.Write("help/3.htm", "<TITLE>Three</TITLE>");
  }
  BinaryRun Run(std::vector<std::string> switches) {
    std::vector<std::string> arguments = {"fsref.htm", "help/toc.htm"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    return RunQuorvaBinary(arguments, dir.Path());
  }

  TempFolder dir;
};

TEST_F(IndexFramePagesE2eTest, WalkDrawsTheTreeAndWritesOnePagePerTopic) {
  BinaryRun run = Run({});
  EXPECT_EQ(run.output,
            "\nIndex page(s) title:'Sample Help'.\n\nCreating Index Frame Pages."
            "\n\n\nCreating indexfiles.\n"
            "\n\xE2\x94\x94toc.htm -(1.htm, 2.htm, TOC5.HTM)"
            "\n \xE2\x94\x94toc1.htm -(3.htm)"
            "\n\n\nCreating Breadcrumbs and modifying topics.\n"
            "\n\xE2\x94\x94toc.htm -(1.htm, 2.htm, TOC5.HTM)"
            "\n \xE2\x94\x94toc1.htm -(3.htm)"
            "\nOther topics -(i1.htm, i2.htm, i3.htm, index.htm, iTOC5.HTM)\n"
            "\ncomplete.\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(dir.Read("help/i1.htm"), Page("One", "toc.htm", "1.htm"));
  EXPECT_EQ(dir.Read("help/i2.htm"), Page("", "toc.htm", "2.htm"));
  EXPECT_EQ(dir.Read("help/i3.htm"), Page("Three", "toc1.htm", "3.htm"));
  EXPECT_EQ(dir.Read("help/iTOC5.HTM"), Page("", "toc.htm", "TOC5.HTM"));
  EXPECT_FALSE(dir.Exists("help/itoc1.htm"));
  EXPECT_FALSE(dir.Exists("help/itoc.htm"));
  EXPECT_FALSE(dir.Exists("help/itab_toc.htm"));
  EXPECT_FALSE(dir.Exists("help/istyle.css"));
}

TEST_F(IndexFramePagesE2eTest, SwitchesChooseTheTitleOrTurnThePassOff) {
  BinaryRun titled = Run({"-ftn"});
  EXPECT_EQ(titled.exit_code, 0);
  EXPECT_EQ(dir.Read("help/i1.htm"), Page("Sample Help", "toc.htm", "1.htm"));
  TempFolder other;
  other.Write("fsref.htm", kTemplate);
  other.Write("help/index.htm", "<title>Sample Help</title>");
  other.Write("help/toc.htm", Links({"1.htm"}));
  BinaryRun off = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-fin"}, other.Path());
  EXPECT_EQ(off.output,
            "\nIndex page(s) title:'Sample Help'.\n\nCreating Index Frame Pages."
            "\n\n\nCreating Breadcrumbs and modifying topics.\n\n\xE2\x94\x94toc.htm -(1.htm)"
            "\nOther topics -(index.htm)\n\ncomplete.\n");
  EXPECT_FALSE(other.Exists("help/i1.htm"));
}

TEST_F(IndexFramePagesE2eTest, TemplateWithoutItsFramesIsRefused) {
  dir.Write("plain.htm", "<html><frame src='toc.htm'><frame src=\"main.htm\"></html>");
  BinaryRun run = RunQuorvaBinary({"plain.htm", "help/toc.htm"}, dir.Path());
  EXPECT_EQ(run.output,
            "\nIndex page(s) title:'Sample Help'.\n\nCreating Index Frame Pages."
            "Error: (plain.htm) not read.\n");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_FALSE(dir.Exists("help/i1.htm"));
}

}  // namespace
}  // namespace quorva
