#include "passes/check/page_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "passes/check/link_target.h"

namespace quorva {
namespace {

std::vector<std::string> LinkValues(const PageScan& scan) {
  std::vector<std::string> values;
  for (const PageLink& link : scan.links) {
    values.emplace_back(link.value);
  }
  return values;
}

// Links are taken from href and src of any element, quoted either way or not at all, and from
// url(...) in style; not from comments, processing instructions or scripts.
TEST(PageScanTest, LinksAreTakenWhereABrowserFollowsThem) {
  const std::string page =
      "<!-- x > y <a href=\"comment.htm\"> --><?php echo '<a href=\"php.htm\">'; ?>"
      "<A HREF='a.htm' id=x><img\nsrc=b.gif alt=\"c\"><frame src=\"c.htm\" / >"
      "<script src=\"s.js\">var t = '<a href=\"script.htm\">';</script >"
      "<style>/* url(no.png) */ p { background: URL( 'd.png' ) }</style>"
      "<p style=\"background:url(e.png)\" data-href=\"x\"><a name=\"n&amp;m\" href=>";
  const PageScan scan = ScanMarkup(page);
  EXPECT_EQ(LinkValues(scan),
            (std::vector<std::string>{"a.htm", "b.gif", "c.htm", "s.js", "d.png", "e.png", ""}));
  EXPECT_EQ(page.substr(scan.links[0].offset, 5), "a.htm");
  EXPECT_EQ(page.substr(scan.links[4].offset, 5), "d.png");
  EXPECT_EQ(scan.anchors, (std::vector<std::string>{"n&m", "x"}));
  EXPECT_FALSE(scan.has_base);
  EXPECT_TRUE(ScanMarkup("<base href=\"http://x/\">").has_base);
  // A reader that takes the links one at a time gets the same, in the page's order, and the
  // scan keeps none of them.
  std::vector<std::size_t> offsets;
  const LinkVisitor visit = [&](const PageLink& link) { offsets.push_back(link.offset); };
  EXPECT_TRUE(ScanMarkup(page, &visit).links.empty());
  ASSERT_EQ(offsets.size(), scan.links.size());
  EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
  EXPECT_EQ(offsets[4], scan.links[4].offset);
  offsets.clear();
  EXPECT_TRUE(ScanStyleSheet("a{b:url(f.png)}", &visit).links.empty());
  EXPECT_EQ(offsets, std::vector<std::size_t>{8});
  // A base counts wherever a browser reads it, after the links too; not in a comment or a
  // script, nor a tag that only starts with its name.
  EXPECT_TRUE(ScanMarkup("<a href=\"a.htm\"><BASE HREF='http://x/'>").has_base);
  EXPECT_FALSE(
      ScanMarkup("<!-- <base href=\"http://x/\"> --><basefont href=\"http://x/\">").has_base);
  EXPECT_FALSE(ScanMarkup("<script>'<base href=\"http://x/\">'</script>").has_base);
  EXPECT_EQ(LinkValues(ScanStyleSheet("a{b:url(\"f.png\")} /* url(g.png) */ c{d:url(h.png )}")),
            (std::vector<std::string>{"f.png", "h.png"}));
  EXPECT_EQ(LinkValues(ScanStyleSheet("a{b:url( )} c{d:url(\t)}")),
            (std::vector<std::string>{"", ""}));
  EXPECT_EQ(LinkValues(ScanMarkup("<a href =\n \"x.htm\" src= y.gif >")),
            (std::vector<std::string>{"x.htm", "y.gif"}));
  // End tags and declarations carry no links, not even a tag inside them; an unquoted style
  // ending in "url(" gives an empty one.
  EXPECT_EQ(LinkValues(ScanMarkup("<!x <a href=\"d.htm\"></p <a href=\"e.htm\"><p style=url( >")),
            (std::vector<std::string>{""}));
  // Markers count wherever they stand, comments included, in any letter case.
  const PageScan markers =
      ScanMarkup("<!-- <bread> --><<Menu><PANEL9><panel0><PANEL:><FileName><BREAD >");
  ASSERT_EQ(markers.markers.size(), 4u);
  EXPECT_EQ(markers.markers[1].marker, "<Menu>");
  EXPECT_EQ(markers.markers[0].marker, "<bread>");
  EXPECT_EQ(markers.markers[3].marker, "<FileName>");
}

// A text the scan has read on its own reads the same inside a page only where nothing was open
// at its end; where it stands whole at a tag's start, the page's scan passes over it.
TEST(PageScanTest, ARepeatedTextIsPassedOverWhereItStandsWhole) {
  for (const char* open :
       {"<a href=\"x.htm", "<a href=x.htm", "<!-- x", "<? x", "</p", "<", "<p", "<script>x",
        "<style>x", "<title>x", "<BRE", "<menu", "<fileNAME", "<PANEL", "<panel7"}) {
    EXPECT_TRUE(ScanMarkup(std::string("<p>") + open).open_at_end) << open;
  }
  for (const char* closed : {"<a href=\"x.htm\">", "<!-- x -->", "<p>a < b", "<panel0>", "<br>",
                             "<script></script>", "<title>x</title>", "x"}) {
    EXPECT_FALSE(ScanMarkup(std::string("<p>") + closed).open_at_end) << closed;
  }
  // A page cut anywhere in a tag is read up to its end and no further, also where more text
  // follows it in memory: it reads as the same bytes alone in a buffer of their size (where the
  // sanitizer build sees any read past the end).
  const std::string tag = "<img src= x.gif alt = \"a\" / >";
  for (std::size_t cut = 1; cut <= tag.size(); ++cut) {
    const std::string_view part = std::string_view(tag).substr(0, cut);
    const std::vector<char> alone(part.begin(), part.end());
    const PageScan in_place = ScanMarkup(part);
    const PageScan exact = ScanMarkup(std::string_view(alone.data(), alone.size()));
    EXPECT_EQ(exact.open_at_end, cut < tag.size()) << part;
    EXPECT_EQ(in_place.open_at_end, exact.open_at_end) << part;
    EXPECT_EQ(LinkValues(in_place), LinkValues(exact)) << part;
    EXPECT_EQ(in_place.pictures_without_alt.size(), exact.pictures_without_alt.size()) << part;
  }

  const std::string menu = "<ul><li><a href=\"a.htm\">A</a></li>\n" + std::string(5000, 'm') +
                           "<li><a href=\"b.htm\">B</a></li></ul>";
  const TextSignature signature(menu);
  // A text of another size, or other bytes in any piece, is not the repeated one.
  std::string changed = menu;
  changed[4500] = 'n';
  const std::string page = "<title>T</title><p id=\"top\">" + menu + "<BREAD>" + menu +
                           "<p><a href=\"c.htm\">" + changed + "<!-- " + menu + " -->";
  const PageScan scan = ScanMarkup(page, nullptr, &signature);
  EXPECT_EQ(scan.repeats_met, 2u);
  // The links outside the menus, those of a menu with other bytes, none inside a comment.
  EXPECT_EQ(LinkValues(scan), (std::vector<std::string>{"c.htm", "a.htm", "b.htm"}));
  ASSERT_EQ(scan.markers.size(), 1u);
  EXPECT_EQ(page.substr(scan.markers[0].offset, 7), "<BREAD>");
  EXPECT_EQ(scan.anchors, std::vector<std::string>{"top"});
  EXPECT_EQ(scan.title_offset, 0u);
  changed = menu;
  changed[menu.size() - 2] = 'x';  // in the last piece's bytes after its last 32
  EXPECT_FALSE(signature.StandsAt(changed, 0));
  EXPECT_FALSE(signature.StandsAt(menu + "x", 1));
  EXPECT_TRUE(signature.StandsAt("x" + menu, 1));
  EXPECT_TRUE(TextSignature("ab").StandsAt("xabc", 1));
}

// What readers who cannot see a page miss: its title (the first one, white space is none),
// pictures without alt (alt="" marks decoration) and frames without title, each at its "<" and
// named by its link, or by its tag where it has none.
TEST(PageScanTest, TitlesAltTextsAndFrameTitlesAreFoundWhereTheyStand) {
  const std::string page =
      "<TITLE lang=en> \t\r\n</TITLE><title>Second</title><IMG SRC=\"a.gif\"><img src=b.gif alt>"
      "<img alt=\"\" src=c.gif><area href=\"d.htm\"><input type=IMAGE src=e.gif>"
      "<input type=\"text\" src=f.gif><frame src=\"g.htm\" title=\"G\"><IFRAME src=h.htm>"
      "<frame>";
  const PageScan scan = ScanMarkup(page);
  EXPECT_EQ(scan.title_offset, 0u);
  EXPECT_FALSE(scan.title_has_text);
  std::vector<std::pair<std::string, std::string>> pictures;
  for (const ElementHit& hit : scan.pictures_without_alt) {
    pictures.emplace_back(page.substr(hit.offset, 6), std::string(hit.link));
  }
  EXPECT_EQ(pictures, (std::vector<std::pair<std::string, std::string>>{
                          {"<IMG S", "a.gif"}, {"<area ", "d.htm"}, {"<input", "e.gif"}}));
  std::vector<std::pair<std::string, std::string>> frames;
  for (const ElementHit& hit : scan.frames_without_title) {
    frames.emplace_back(page.substr(hit.offset, 7), std::string(hit.link));
  }
  EXPECT_EQ(frames, (std::vector<std::pair<std::string, std::string>>{{"<IFRAME", "h.htm"},
                                                                      {"<frame>", "<frame"}}));
  const PageScan titled = ScanMarkup("<p><title> A </title><title></title>");
  EXPECT_EQ(titled.title_offset, 3u);
  EXPECT_TRUE(titled.title_has_text);
  // A title in a comment or a script is none.
  const std::string untitled = "<!-- <title>x</title> --><script>'<title>y</title>'</script>";
  EXPECT_EQ(ScanMarkup(untitled).title_offset, untitled.size());
  EXPECT_TRUE(ScanMarkup("<title>t</title>").title_has_text);
}

// A link is read as a browser reads it, from the folder of its page; links that leave the help
// are not checked.
TEST(PageScanTest, LinksResolveAsABrowserReadsThem) {
  LinkTarget plain = ResolveLink("1001.htm");
  EXPECT_EQ(plain.scope, LinkScope::kChecked);
  EXPECT_EQ(plain.path, "1001.htm");
  LinkTarget full = ResolveLink(" ./sub\\..\\my%20page.htm?a=1&amp;b=2#Part%202 ");
  EXPECT_EQ(full.path, "my page.htm");
  EXPECT_TRUE(full.has_fragment);
  EXPECT_EQ(full.fragment, "Part 2");
  LinkTarget own = ResolveLink("#top");
  EXPECT_TRUE(own.names_own_page);
  EXPECT_EQ(own.fragment, "top");
  EXPECT_EQ(ResolveLink("images/").path, "images");
  EXPECT_EQ(ResolveLink("my%20page.ht%6D").path, "my page.htm");
  EXPECT_EQ(ResolveLink("tab%09.htm").path, "tab\t.htm");
  EXPECT_EQ(ResolveLink("../a.htm#x", "sub/deeper").path, "sub/a.htm");
  EXPECT_EQ(ResolveLink("b.htm", "sub").path, "sub/b.htm");
  EXPECT_EQ(ResolveLink("../shared/a.css").scope, LinkScope::kSkipped);
  EXPECT_EQ(ResolveLink("../../a.css", "sub").scope, LinkScope::kSkipped);
  EXPECT_EQ(ResolveLink("2:x.htm").path, "2:x.htm");
  for (const char* skipped :
       {"", "http://x/a.htm", "mailto:a@b", "JavaScript:go()", "/a.htm", "jazz:x", "JAZZ:x",
        "z39.50r://x/a.htm", "ms-help://a.htm", "//host/a.htm", "\\\\host\\a.htm", "C:/a.htm"}) {
    EXPECT_EQ(ResolveLink(skipped).scope, LinkScope::kSkipped) << skipped;
  }
  EXPECT_EQ(DecodeCharacterReferences("&#65;&#x42;&lt;&amp&unknown;"), "AB<&amp&unknown;");
  EXPECT_EQ(DecodeCharacterReferences("&#39;&#x39;&#48;"), "'90");
  // Each code point takes as many UTF-8 bytes as it needs; none that is not a character.
  EXPECT_EQ(DecodeCharacterReferences("&#x7F;&#x80;&#x7FF;&#x800;&#xFFFF;&#x10000;&#x10FFFF;"),
            "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(DecodeCharacterReferences("&#0;&#xD800;&#x110000;"),
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quorva
