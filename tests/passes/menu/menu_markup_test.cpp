#include "passes/menu/menu_markup.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

class MenuMarkupTest : public ::testing::Test {
 protected:
  // One entry with no drop-down of its own, at `level`, opened and closed at once.
  std::string Leaf(int level, const std::string& target = "a.htm") {
    std::string menu;
    MenuMarkup markup(settings, menu);
    markup.OpenMenuItem(target, "Text", "Title", level, false);
    markup.CloseMenuItem(level, false);
    return menu;
  }
  std::string Parent(int level) {
    std::string menu;
    MenuMarkup markup(settings, menu);
    markup.OpenMenuItem("a.htm", "Text", "Title", level, true);
    markup.CloseMenuItem(level, true);
    return menu;
  }

  RunSettings settings;
};

TEST_F(MenuMarkupTest, ButtonsToTheButtonDepthDropEntriesBelow) {
  EXPECT_EQ(Leaf(0),
            "        <li><a class=\"menubutton\" href=\"a.htm\">&nbsp; Text &nbsp;</a></li>\n");
  EXPECT_EQ(Leaf(1),
            "            <li><a href=\"a.htm\"><span class=\"drop\"><span>Text</span>&nbsp;</span>"
            "</a></li>\n");
  for (int depth : {0, -5, -2147483647 - 1}) {
    settings.button_depth = depth;
    EXPECT_EQ(Leaf(0).find("menubutton"), std::string::npos);
    EXPECT_NE(Parent(0).find("<ul class=\"downlevel\">"), std::string::npos);
  }
  settings.button_depth = 2;
  EXPECT_NE(Leaf(1).find("class=\"menubutton\""), std::string::npos);
  EXPECT_EQ(Leaf(2).find("menubutton"), std::string::npos);
  EXPECT_NE(Parent(0).find("<ul class=\"toplevel\">"), std::string::npos);
  EXPECT_NE(Parent(1).find("<ul class=\"downlevel\">"), std::string::npos);
}

TEST_F(MenuMarkupTest, ParentFormWithoutOldBrowserMarkup) {
  settings.old_browser_markup = false;
  EXPECT_EQ(Parent(1),
            "            <li><a href=\"a.htm\"><span class=\"drop\"><span>Text</span>  &#9658; "
            "</span></a>\n"
            "                <ul class=\"downlevel\">\n"
            "                </ul>\n"
            "            </li>\n");
}

TEST_F(MenuMarkupTest, ButtonInParentFormShowsTheTitle) {
  EXPECT_EQ(Parent(0).substr(0, 67),
            "        <li><a class=\"menubutton\" href=\"a.htm\">&nbsp; Title &nbsp;\n");
  settings.repeat_parent = true;
  EXPECT_NE(Leaf(0).find("&nbsp; Title &nbsp;"), std::string::npos);
  EXPECT_NE(Leaf(0).find("</ul>"), std::string::npos);
}

TEST_F(MenuMarkupTest, SpacingArrowsPrefixAndEmptyTargets) {
  settings.drop_arrow = "";
  EXPECT_NE(Parent(1).find("<span>Text</span>  </span>"), std::string::npos);
  settings.wide_spacing = true;
  settings.drop_arrow = "&raquo;";
  EXPECT_NE(Parent(1).find("<span>&nbsp; Text &nbsp;</span>&nbsp; &raquo; </span>"),
            std::string::npos);
  EXPECT_NE(Leaf(1).find("<span>&nbsp; Text &nbsp;</span>&nbsp;</span>"), std::string::npos);
  EXPECT_NE(Leaf(0).find("\">&nbsp;&nbsp; Text &nbsp;&nbsp;</a>"), std::string::npos);
  settings.url_prefix = "/help/";
  EXPECT_NE(Leaf(1, "").find("href=\"/help/.\""), std::string::npos);
}

TEST_F(MenuMarkupTest, WrapperAroundTheEntries) {
  std::string menu;
  MenuMarkup markup(settings, menu);
  markup.OpenWrapper();
  markup.CloseWrapper();
  EXPECT_EQ(menu, "<div class=\"menu\">\n    <ul class=\"toplevel\">\n\n    </ul>\n</div>\n");
}

}  // namespace
}  // namespace quorva
