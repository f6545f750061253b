#include "core/page_title.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

std::optional<std::string> TitleOf(const std::string& page) {
  MemoryFileSystem fs;
  fs.AddFile("page.htm", page);
  return ReadPageTitle(fs, "page.htm");
}

TEST(ReadPageTitle, FirstTitleTagInAnyCaseWithoutAttributes) {
  EXPECT_EQ(TitleOf("<html><TITLE>Help</TITLE>"), "Help");
  EXPECT_EQ(TitleOf("<title lang=en>Help</title>"), "");
  EXPECT_EQ(TitleOf("<title>One</title><title>Two</title>"), "One");
  EXPECT_EQ(TitleOf("no title here"), "");
  EXPECT_EQ(TitleOf(""), "");
}

TEST(ReadPageTitle, TextIsUsedUnchangedUpToTheNextTag) {
  EXPECT_EQ(TitleOf("<title>  A &amp; B\r\nline two</title>"), "  A &amp; B\nline two");
  EXPECT_EQ(TitleOf("<title>runs to the end"), "runs to the end");
  EXPECT_EQ(TitleOf("<title>a\x1A"
                    "b</title>"),
            "a");
  EXPECT_EQ(TitleOf(std::string("<title>a\0b</title>", 18)), "a");
}

TEST(ReadPageTitle, CutAt254Characters) {
  EXPECT_EQ(TitleOf("<title>" + std::string(300, 'x') + "</title>"), std::string(254, 'x'));
}

TEST(ReadPageTitle, MissingOrFolderGivesNothing) {
  MemoryFileSystem fs;
  fs.AddFolder("dir.htm");
  EXPECT_FALSE(ReadPageTitle(fs, "missing.htm").has_value());
  EXPECT_FALSE(ReadPageTitle(fs, "dir.htm").has_value());
}

}  // namespace
}  // namespace quorva
