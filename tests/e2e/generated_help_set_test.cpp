#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"
#include "help_set/help_set_generator.h"
#include "help_set/topic_name.h"

namespace quorva {
namespace {

TEST(GeneratedHelpSet, EveryPassRunsAndEveryTopicsMarkersAreReplaced) {
  TempFolder dir;
  GeneratedHelpSet set = GenerateHelpSet(dir.Path(), 200, 7);
  ASSERT_EQ(set.topic_paths.size(), 200u);
  BinaryRun run = RunQuorvaBinary(
      {"fsref.htm", "help/toc.htm", "-mm", "-c", "-p1panel1.txt", "-nf", "-mwhelp/menu.htm"},
      dir.Path());
  EXPECT_EQ(run.exit_code, 0);
  ASSERT_GE(run.output.size(), 11u);
  EXPECT_EQ(run.output.substr(run.output.size() - 11), "\ncomplete.\n");
  for (const char* heading :
       {"\n\nCreating menu.htm.\n", "\n\n\nCreating indexfiles.\n",
        "\n\n\nCreating Breadcrumbs and modifying topics.\n", "\nOther topics -(",
        "\nCompressing HTML Files-(", "\nCompressing CSS Files-("}) {
    EXPECT_NE(run.output.find(heading), std::string::npos) << heading;
  }
  int menus = 0;
  for (const std::string& path : set.topic_paths) {
    std::string name = path.substr(dir.Path().size() + 1);
    std::string topic = dir.Read(name);
    for (const char* marker : {"<BREAD>", "<PANEL1>", "<FILENAME>", "<MENU>"}) {
      EXPECT_EQ(topic.find(marker), std::string::npos) << marker << " left in " << name;
    }
    EXPECT_NE(topic.find("<a class=\"bread\" href=\""), std::string::npos) << name;
    EXPECT_NE(topic.find("Generated Help</div>"), std::string::npos) << name;
    menus += topic.find("<div class=\"menu\">") != std::string::npos;
    EXPECT_TRUE(dir.Exists("help/i" + name.substr(5)) ||
                std::find(set.orphan_paths.begin(), set.orphan_paths.end(), path) !=
                    set.orphan_paths.end())
        << name;
  }
  EXPECT_EQ(menus, 2);
  EXPECT_TRUE(dir.Exists("help/menu.htm"));
}

// Beyond 1,500 topics the menu stays on fifteen landing pages, unless one topic in a hundred is
// asked for; a topic with the menu links its style sheet either way, and no other topic does.
TEST(GeneratedHelpSet, MenuTopicsStopAtFifteenUnlessEveryHundredthIsAskedFor) {
  for (MenuTopics menus : {MenuTopics::kUpToFifteen, MenuTopics::kEveryHundredth}) {
    TempFolder dir;
    const GeneratedHelpSet set = GenerateHelpSet(dir.Path(), 1700, 2, Planting::kNone, menus);
    std::vector<std::string> with_menu;
    for (const std::string& path : set.topic_paths) {
      // The generator joins paths with the system's separator.
      std::string name = path.substr(dir.Path().size() + 1);
      std::replace(name.begin(), name.end(), '\\', '/');
      const std::string topic = dir.Read(name);
      const bool menu = topic.find("<MENU>") != std::string::npos;
      EXPECT_EQ(topic.find("href=\"menu.css\"") != std::string::npos, menu) << name;
      if (menu) {
        with_menu.push_back(name);
      }
    }
    const bool capped = menus == MenuTopics::kUpToFifteen;
    EXPECT_EQ(with_menu.size(), capped ? 15u : 17u);
    ASSERT_FALSE(with_menu.empty());
    EXPECT_EQ(with_menu.back(), "help/" + TopicName(capped ? 1407 : 1607));
  }
}

// No list has a capacity: neither the index frame pages the other-topics pass claims beside
// 20,000 topics nor a single TOC page of 40,000 links stop a run halfway.
TEST(GeneratedHelpSet, LargeHelpSetsComplete) {
  {
    TempFolder dir;
    dir.Write("fsref.htm", "<frame src=\"toc.htm\"><frame src=\"main.htm\">");
    dir.Write("help/index.htm", "<title>Large</title>");
    std::string toc;
    for (int i = 0; i < 40000; ++i) {
      toc += "<a href=\"" + std::to_string(i) + ".htm\">x</a>\n";
    }
    dir.Write("help/toc.htm", toc);
    BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm", "-fin"}, dir.Path());
    const std::string ending = ", 39999.htm)\nOther topics -(index.htm)\n\ncomplete.\n";
    ASSERT_GE(run.output.size(), ending.size());
    EXPECT_EQ(run.output.substr(run.output.size() - ending.size()), ending);
    EXPECT_EQ(run.exit_code, 0);
  }
  if (RunsUnderWine()) {
    GTEST_SKIP() << "20,000 new files in one folder take over half an hour under Wine";
  }
  TempFolder dir;
  GeneratedHelpSet set = GenerateHelpSet(dir.Path(), 20000, 11);
  BinaryRun run = RunQuorvaBinary({"fsref.htm", "help/toc.htm"}, dir.Path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output.substr(run.output.size() - 11), "\ncomplete.\n");
  const std::string last = set.topic_paths.back().substr(dir.Path().size() + 1);
  EXPECT_EQ(dir.Read(last).find("<BREAD>"), std::string::npos);
}

}  // namespace
}  // namespace quorva
