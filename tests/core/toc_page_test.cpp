#include "core/toc_page.h"

#include <gtest/gtest.h>

#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

std::vector<std::string> LinksOf(const std::string& text) {
  std::vector<std::string> names;
  ScanTocPageLinks(text, [&](const std::string& name) { names.push_back(name); });
  return names;
}

using Names = std::vector<std::string>;

TEST(ScanTocPageLinks, TakesTheNameAfterEachLowercaseHref) {
  EXPECT_EQ(LinksOf("<a href=\"1234.htm\">A</a><a href=\"toc3.htm\">B</a>"),
            (Names{"1234.htm", "toc3.htm"}));
  EXPECT_EQ(LinksOf("<a HREF=\"1.htm\"><a Href=\"2.htm\">"), Names{});
  EXPECT_EQ(LinksOf("href=\"1.htm\""), Names{});
  EXPECT_EQ(LinksOf(" href=\"1.htm\""), Names{"1.htm"});
  EXPECT_EQ(LinksOf("<!-- hrefs=\"c.htm\" --><link href=\"style.css\">"),
            (Names{"c.htm", "style.css"}));
  EXPECT_EQ(LinksOf("<a href=\"a.htm\">x</a><a href=\"a.htm\">y</a>"), (Names{"a.htm", "a.htm"}));
  EXPECT_EQ(LinksOf(" hhref=\"1.htm\" hrefhref=\"2.htm\" href"), (Names{"1.htm", "2.htm"}));
}

TEST(ScanTocPageLinks, NamesEndAtTheFirstCharacterOutsideTheNameSet) {
  EXPECT_EQ(LinksOf(" href=\"1234.htm#anchor\""), Names{"1234.htm"});
  EXPECT_EQ(LinksOf(" href=\"page.php?id=3\""), Names{"page.php"});
  EXPECT_EQ(LinksOf(" href=\"../1234.htm\""), Names{"1234.htm"});
  EXPECT_EQ(LinksOf(" href=\"./#/_x.htm\""), Names{"_x.htm"});
  EXPECT_EQ(LinksOf(" href=\"sub/page.htm\""), Names{"sub"});
  EXPECT_EQ(LinksOf(" href=\"my-page.htm\""), Names{"my"});
  EXPECT_EQ(LinksOf(" href=\"http://x.com/a.htm\""), Names{"http"});
  EXPECT_EQ(LinksOf(" href=\"caf\xE9.htm\""), Names{"caf"});
}

TEST(ScanTocPageLinks, ValueMustBeDoubleQuoted) {
  EXPECT_EQ(LinksOf("<a href='1.htm'>x</a><a href=\"2.htm\">"), Names{"2.htm"});
  EXPECT_EQ(LinksOf("<a href=\"\">after.htm</a>"), Names{"after.htm"});
  EXPECT_EQ(LinksOf(" href=1.htm"), Names{});
  EXPECT_EQ(LinksOf(" href=\""), Names{});
}

TEST(ScanTocPageLinks, LongNamesAreCutAndTheScanGoesOn) {
  std::string long_name(300, 'a');
  Names names = LinksOf(" href=\"" + long_name + ".htm\" href=\"b.htm\"");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], std::string(260, 'a'));
  EXPECT_EQ(names[1], "b.htm");
}

TEST(TocPageNames, ExtensionAndTocPrefixAreCaseSensitive) {
  EXPECT_TRUE(HasPageExtension("x.html"));
  EXPECT_TRUE(HasPageExtension("x.htm.bak"));
  EXPECT_TRUE(HasPageExtension("X.PHP"));
  EXPECT_FALSE(HasPageExtension("x.Htm"));
  EXPECT_FALSE(HasPageExtension("style.css"));
  EXPECT_TRUE(IsTocPageName("toc3.htm"));
  EXPECT_TRUE(IsTocPageName("tocsin.htm"));
  EXPECT_FALSE(IsTocPageName("toc"));
  EXPECT_FALSE(IsTocPageName("TOC3.HTM"));
}

TEST(ReadTocPage, TextEndsAtNulOrByte26) {
  MemoryFileSystem fs;
  fs.AddFile("a.htm", std::string("x\r\n\0 href=\"1.htm\"", 18));
  fs.AddFile("b.htm", "x\x1A href=\"1.htm\"");
  EXPECT_EQ(ReadTocPage(fs, "a.htm"), "x\n");
  EXPECT_EQ(ReadTocPage(fs, "b.htm"), "x");
  EXPECT_FALSE(ReadTocPage(fs, "missing.htm"));
}

TEST(TocProgress, HeadNamesThePageIndentedByDepth) {
  EXPECT_EQ(TocProgressHead(2, SplitPath("help/toc3.htm")),
            "\n  " + std::string(kConsoleCorner) + "toc3.htm -(");
  MemoryConsole console;
  ProgressNames names(console);
  names.Add("a.htm");
  names.Add("b.htm");
  EXPECT_EQ(console.output, "a.htm, b.htm");
}

}  // namespace
}  // namespace quorva
