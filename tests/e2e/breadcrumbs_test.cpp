#include <gtest/gtest.h>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"
#include "text/markup_compressor.h"

namespace quorva {
namespace {

const char kTemplate[] = "<title></title><frame src=\"toc.htm\"><frame src=\"main.htm\">";
const char kSeparator[] = "<b>&nbsp;&raquo;&nbsp;</b>";

std::string Topic(const std::string& title) {
  return "<html><head><title>" + title + "</title></head>\r\n<body>\r\n<p><BREAD></p>\r\n" +
         "<p><FILENAME></p>\r\n</body></html>\r\n";
}

std::string Rewritten(const std::string& title, const std::string& trail,
                      const std::string& file_name = "<FILENAME>") {
  return "<html><head><title>" + title + "</title></head>\r\n<body>\r\n<p>" + trail +
         "</p>\r\n<p>" + file_name + "</p>\r\n</body></html>\r\n";
}

std::string Link(const std::string& name, const std::string& title) {
  return "<a class=\"bread\" href=\"" + name + "\">" + title + "</a>";
}

class BreadcrumbsE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("fsref.htm", kTemplate);
    dir.Write("help/index.htm", "<title>Help</title>");
    dir.Write("help/toc.htm",
              "<a href=\"a.htm\">A</a>\r\n<a href=\"toc1.htm\">+</a><a href=\"b.htm\">B</a>\r\n");
    dir.Write("help/toc1.htm", "<a href=\"c.htm\">C</a>\r\n");
    dir.Write("help/a.htm", Topic("A"));
    dir.Write("help/b.htm", Topic("B"));
    dir.Write("help/c.htm", Topic("C"));
    dir.Write("help/orphan.htm", Topic("Orphan"));
  }
  BinaryRun Run(std::vector<std::string> switches) {
    std::vector<std::string> arguments = {"fsref.htm", "help/toc.htm", "-fin"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    return RunQuorvaBinary(arguments, dir.Path());
  }

  TempFolder dir;
};

TEST_F(BreadcrumbsE2eTest, EveryTopicGetsItsTrailThroughTheTocTree) {
  BinaryRun run = Run({"-nf"});
  EXPECT_EQ(run.output,
            "\nIndex page(s) title:'Help'.\n\nCreating Index Frame Pages."
            "\n\n\nCreating Breadcrumbs and modifying topics.\n"
            "\n\xE2\x94\x94toc.htm -(a.htm, b.htm)"
            "\n \xE2\x94\x94toc1.htm -(c.htm)"
            "\nOther topics -(index.htm, orphan.htm)\n"
            "\ncomplete.\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(dir.Read("help/a.htm"), Rewritten("A", Link("a.htm", "A"), "a.htm"));
  EXPECT_EQ(dir.Read("help/b.htm"), Rewritten("B", Link("b.htm", "B"), "b.htm"));
  EXPECT_EQ(dir.Read("help/c.htm"),
            Rewritten("C", Link("b.htm", "B") + kSeparator + Link("c.htm", "C") + "\r\n", "c.htm"));
  EXPECT_EQ(dir.Read("help/orphan.htm"),
            Rewritten("Orphan", Link("orphan.htm", "Orphan"), "orphan.htm"));
  EXPECT_EQ(dir.Read("help/index.htm"), "<title>Help</title>");
}

// On Windows these name devices, which are never opened: the topics are skipped like unreadable
// ones, and the run neither waits on them nor fails.
TEST_F(BreadcrumbsE2eTest, TopicsNamedLikeDevicesNeitherHangNorFailTheRun) {
  dir.Write("help/toc.htm",
            "<a href=\"nul.htm\">N</a><a href=\"con.htm\">C</a>"
            "<a href=\"a.htm\">A</a>\r\n");
  BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-nf", "-c"}, dir.Path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.output.find("-(nul.htm, con.htm, a.htm)"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\ncomplete.\n"), std::string::npos);
  EXPECT_EQ(dir.Read("help/a.htm"),
            CompressMarkupText(Rewritten("A", Link("a.htm", "A"), "a.htm")));
  EXPECT_TRUE(dir.Exists("help/inul.htm"));
}

TEST_F(BreadcrumbsE2eTest, BreadcrumbsOffKeepTheMarkersAndRewriteTheRest) {
  BinaryRun run = Run({"-bbn", "-nf"});
  EXPECT_EQ(run.output,
            "\nIndex page(s) title:'Help'.\n\nCreating Index Frame Pages."
            "\n\n\nModifying topics.\n"
            "\n\xE2\x94\x94toc.htm -(a.htm, b.htm)"
            "\n \xE2\x94\x94toc1.htm -(c.htm)"
            "\nOther topics -(index.htm, orphan.htm)\n"
            "\ncomplete.\n");
  EXPECT_EQ(dir.Read("help/c.htm"), Rewritten("C", "<BREAD>", "c.htm"));
}

TEST_F(BreadcrumbsE2eTest, CompressionFollowsTheRewriteWhateverPassWroteTheFile) {
  dir.Write("help/c.htm", Topic("C") + "<p>  spaced   out  </p>\r\n\r\n");
  BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-nf", "-c"}, dir.Path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.output.find("\nCompressing HTML Files-(a.htm, b.htm, c.htm, ia.htm, ib.htm, "
                            "ic.htm, index.htm, orphan.htm, toc.htm, toc1.htm)\n"),
            std::string::npos);
  const std::string c_rewritten =
      Rewritten("C", Link("b.htm", "B") + kSeparator + Link("c.htm", "C") + "\r\n", "c.htm") +
      "<p>  spaced   out  </p>\r\n\r\n";
  EXPECT_EQ(dir.Read("help/c.htm"), CompressMarkupText(c_rewritten));
  EXPECT_EQ(dir.Read("help/orphan.htm"),
            CompressMarkupText(Rewritten("Orphan", Link("orphan.htm", "Orphan"), "orphan.htm")));
  EXPECT_EQ(dir.Read("help/ic.htm"),
            "<title>C</title><frame src=\"toc1.htm\"><frame src=\"c.htm\">");
  EXPECT_EQ(dir.Read("help/toc1.htm"), "<a href=\"c.htm\">C</a>\n");
}

TEST_F(BreadcrumbsE2eTest, IndexFramePagesWithMarkersAreRewrittenBeforeCompression) {
  dir.Write(
      "fsref.htm",
      "<title></title>\r\n<p> <BREAD> </p>\r\n<frame src=\"toc.htm\"><frame src=\"main.htm\">");
  BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-c"}, dir.Path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(dir.Read("help/ia.htm"), "<title>A</title>\n<p> " + Link("ia.htm", "A") +
                                         " </p>\n<frame src=\"toc.htm\"><frame src=\"a.htm\">");
}

TEST_F(BreadcrumbsE2eTest, TopicKeepsEveryByteAfterByte26AndNul) {
  static const char kTopic[] =
      "<title>A</title><BREAD>\r\nbefore\x1A"
      "after\0tail\n";
  static const char kTail[] =
      "\r\nbefore\x1A"
      "after\0tail\r\n";
  const std::string topic(kTopic, sizeof kTopic - 1);
  dir.Write("help/a.htm", topic);
  BinaryRun run = Run({});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(dir.Read("help/a.htm"), std::string("<title>A</title>") + Link("a.htm", "A") +
                                        std::string(kTail, sizeof kTail - 1));
}

}  // namespace
}  // namespace quorva
