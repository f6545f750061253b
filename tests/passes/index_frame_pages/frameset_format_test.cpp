#include "passes/index_frame_pages/frameset_format.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

const char kFrames[] = "<frame src=\"toc.htm\"><frame src=\"main.htm\">";

std::optional<FramesetFormat> Build(const std::string& template_text) {
  MemoryFileSystem fs;
  fs.AddFile("fsref.htm", template_text);
  return BuildFramesetFormat(fs, "fsref.htm");
}

// The page a template gives for toc.htm, 1234.htm and the title "T".
std::string PageFor(const std::string& template_text) {
  std::optional<FramesetFormat> format = Build(template_text);
  if (!format) {
    return "<refused>";
  }
  std::array<std::string, 3> texts;
  texts[format->toc_slot] = "toc3.htm";
  texts[format->main_slot] = "1234.htm";
  if (format->has_title_slot) {
    texts[format->title_slot] = "T";
  }
  return FillFramesetFormat(*format, texts);
}

TEST(BuildFramesetFormat, SlotsArePositionedInTextOrder) {
  auto format = Build(std::string("<head><title></title></head>") + kFrames);
  ASSERT_TRUE(format);
  EXPECT_EQ(format->text, "<head><title>%s</title></head><frame src=\"%s\"><frame src=\"%s\">");
  EXPECT_TRUE(format->has_title_slot);
  EXPECT_EQ(format->title_slot, 0);
  EXPECT_EQ(format->toc_slot, 1);
  EXPECT_EQ(format->main_slot, 2);
  auto reversed = Build("<frame src=\"main.htm\"><TITLE></TITLE><frame src=\"toc.htm\">");
  ASSERT_TRUE(reversed);
  EXPECT_EQ(reversed->main_slot, 0);
  EXPECT_EQ(reversed->title_slot, 1);
  EXPECT_EQ(reversed->toc_slot, 2);
}

TEST(BuildFramesetFormat, TitleSlotComesBeforeTheTemplatesOwnTitleText) {
  EXPECT_EQ(PageFor(std::string("<title>Frames</title>") + kFrames),
            "<title>TFrames</title><frame src=\"toc3.htm\"><frame src=\"1234.htm\">");
  auto untitled = Build(kFrames);
  ASSERT_TRUE(untitled);
  EXPECT_FALSE(untitled->has_title_slot);
  EXPECT_EQ(PageFor(std::string("<head></head>") + kFrames),
            "<head></head><frame src=\"toc3.htm\"><frame src=\"1234.htm\">");
  EXPECT_EQ(PageFor(std::string("<title lang=en></title>") + kFrames),
            "<title lang=en></title><frame src=\"toc3.htm\"><frame src=\"1234.htm\">");
}

TEST(BuildFramesetFormat, PercentSignsComeOutOnce) {
  EXPECT_EQ(PageFor(std::string("<frameset cols=\"width=100%\">") + kFrames),
            "<frameset cols=\"width=100%\"><frame src=\"toc3.htm\"><frame src=\"1234.htm\">");
  EXPECT_EQ(PageFor(std::string("<x a=\"100%%\">") + kFrames),
            "<x a=\"100%\"><frame src=\"toc3.htm\"><frame src=\"1234.htm\">");
  EXPECT_EQ(PageFor(std::string("%d") + kFrames + "%"),
            "%d<frame src=\"toc3.htm\"><frame src=\"1234.htm\">%");
  EXPECT_EQ(PageFor(std::string("a%\"toc.htm\" main.htm")), "a%\"toc3.htm\" 1234.htm");
  EXPECT_EQ(PageFor("x%main.htm \"toc.htm"), "x%1234.htm \"toc3.htm");
}

TEST(BuildFramesetFormat, RefusesPercentSignsThatSwallowASlot) {
  // A percent sign left single before a slot reads as "%%" with the slot's own, and the
  // template's "%s" would then take the main frame's page.
  EXPECT_FALSE(Build("%main.htm%s\"toc.htm"));
  EXPECT_FALSE(Build("<x a=\"5%%%main.htm\"><y b=\"%s\"><frame src=\"toc.htm\">"));
  EXPECT_EQ(PageFor("<x a=\"5%%main.htm\"><frame src=\"toc.htm\">"),
            "<x a=\"5%1234.htm\"><frame src=\"toc3.htm\">");
}

TEST(BuildFramesetFormat, CrLfTemplateGivesLineFeedsOnly) {
  auto format = Build(std::string("<html>\r\n") + kFrames + "\r\n</html>\r\n");
  ASSERT_TRUE(format);
  EXPECT_EQ(format->text, "<html>\n<frame src=\"%s\"><frame src=\"%s\">\n</html>\n");
}

TEST(BuildFramesetFormat, RefusesTemplatesWithoutExactlyOneSlotOfEachKind) {
  EXPECT_FALSE(Build("<frame src='toc.htm'><frame src=\"main.htm\">"));
  EXPECT_FALSE(Build("<frame src=\"toc.htm\">"));
  EXPECT_FALSE(Build("<frame src=\"TOC.HTM\"><frame src=\"main.htm\">"));
  EXPECT_FALSE(Build(std::string(kFrames) + "<a href=\"domain.htm\">"));
  EXPECT_FALSE(Build(std::string(kFrames) + "<frame src=\"toc.htm\">"));
  EXPECT_FALSE(Build(std::string("<title></title><title></title>") + kFrames));
  EXPECT_FALSE(Build(std::string("50%sale") + kFrames));
  EXPECT_FALSE(Build(std::string("%%%s") + kFrames));
  MemoryFileSystem fs;
  EXPECT_FALSE(BuildFramesetFormat(fs, "missing.htm"));
}

}  // namespace
}  // namespace quorva
