#include "text/markup_compressor.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "text/text_mode.h"

namespace quorva {
namespace {

using namespace std::string_literals;

TEST(CompressMarkupTextTest, CollapsesSpacesAndDropsBlankLines) {
  EXPECT_EQ(CompressMarkupText("<p>  Hello   world  </p>\r\n\r\n<p>x</p>"),
            "<p> Hello world </p>\n<p>x</p>");
  EXPECT_EQ(CompressMarkupText("a \t\v\f b\n\n\n \n\t\nc"), "a b\nc");
}

TEST(CompressMarkupTextTest, DropsIndentationAndWhitespaceOnlyLines) {
  EXPECT_EQ(CompressMarkupText("<ul>\r\n\t<li>One</li>\r\n\t\t<li>Two</li>\r\n   \r\n</ul>\r\n"),
            "<ul>\n<li>One</li>\n<li>Two</li>\n</ul>\n");
  // Nothing precedes the first line, so one byte of its indentation stays.
  EXPECT_EQ(CompressMarkupText("\t\t<html>"), "\t<html>");
}

TEST(CompressMarkupTextTest, TrimsInsideTagBrackets) {
  EXPECT_EQ(CompressMarkupText("< p>x</p >"), "<p>x</p>");
  EXPECT_EQ(CompressMarkupText("<a href=\"x\"   >"), "<a href=\"x\">");
  // Only a space goes before ">"; a tab is kept as the run's one white space byte.
  EXPECT_EQ(CompressMarkupText("<br\t>"), "<br\t>");
}

TEST(CompressMarkupTextTest, BarePreKeepsWhitespaceButLosesEmptyLines) {
  EXPECT_EQ(CompressMarkupText("<pre>\n  code\n\n  more\n</pre>"), "<pre>\n  code\n  more\n</pre>");
  EXPECT_EQ(CompressMarkupText("<pre>a  >\r\n\r\n</pre>\n   x  y"), "<pre>a  >\n</pre>\nx y");
}

TEST(CompressMarkupTextTest, PreTagMatchesWithoutCaseButNotWithAttributes) {
  EXPECT_EQ(CompressMarkupText("<PRE>\n  a  b\n</PRE>  c"), "<PRE>\n  a  b\n</PRE> c");
  // The space before ">" goes first, so "<Pre >" becomes "<Pre>" and protects.
  EXPECT_EQ(CompressMarkupText("<Pre >\n  a  b\n</pRe>"), "<Pre>\n  a  b\n</pRe>");
  EXPECT_EQ(CompressMarkupText("<pre class=\"code\">\n  a  b\n</pre>"),
            "<pre class=\"code\">\na b\n</pre>");
}

TEST(CompressMarkupTextTest, CompactTextLosesOnlyCarriageReturns) {
  EXPECT_EQ(CompressMarkupText(""), "");
  EXPECT_EQ(CompressMarkupText("<p>a b</p>\r\n<p>c</p>\r\n"), "<p>a b</p>\n<p>c</p>\n");
  const std::string compact = "<html><body>\n<p class=\"x\">caf\xE9 \xA0 ok</p>\n</body></html>";
  EXPECT_EQ(CompressMarkupText(compact), compact);
}

TEST(CompressMarkupTextTest, NulIsAnOrdinaryByte) {
  EXPECT_EQ(CompressMarkupText("<p>a\0  b</p>\r\n\0tail"s), "<p>a\0 b</p>\n\0tail"s);
}

// Long runs of words are scanned in blocks; whatever ends a run must be seen at every offset,
// with enough text after it that the blocks reach it. In the text's own buffer, runs move down
// over what was dropped before them.
TEST(CompressMarkupTextTest, RunsOfWordsEndAtTheSameBytesWhereverTheyFall) {
  const std::string after = "<" + std::string(40, 'x') + ">";
  auto in_place = [](std::string text) {
    CompressMarkupInPlace(text);
    return text;
  };
  for (std::size_t length = 0; length < 100; ++length) {
    std::string words;
    for (std::size_t i = 0; i < length; ++i) {
      words += (i % 3 == 2 && i + 1 < length) ? ' ' : 'w';
    }
    const std::pair<std::string, std::string> tails[] = {
        {"  z", " z"}, {" \n z", " \nz"}, {" >", ">"},    {"\r\n\r\n  y", "\ny"},
        {" ", " "},    {"\t\tz", "\tz"},  {"<b>", "<b>"}, {" \v z", " z"},
    };
    for (const auto& [tail, compressed_tail] : tails) {
      EXPECT_EQ(CompressMarkupText(words + tail + after), words + compressed_tail + after)
          << length << " " << testing::PrintToString(tail);
      EXPECT_EQ(in_place("a  b" + words + tail + after), "a b" + words + compressed_tail + after)
          << length << " " << testing::PrintToString(tail);
    }
    EXPECT_EQ(CompressMarkupText("<pre>" + words + "  z  </pre>  z" + after),
              "<pre>" + words + "  z  </pre> z" + after)
        << length;
  }
}

// The last rewrite of a page compresses its text before the line ends are translated.
TEST(CompressMarkupTextTest, CarriageReturnsBeforeLineFeedsChangeNothing) {
  for (const char* text :
       {"<p>a  b</p>\n\n  <pre>\n  x\n\n</pre>\n", " \n \n", "\n\r\n<pre>\n\n"}) {
    EXPECT_EQ(CompressMarkupText(EncodeTextMode(text)), CompressMarkupText(text)) << text;
  }
}

}  // namespace
}  // namespace quorva
