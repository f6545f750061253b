#include "generated_input.h"

#include <string_view>

namespace quorva {

namespace {

constexpr std::string_view kMarkupTopic =
    "<html>\r\n"
    "  <head>\r\n"
    "    <title>Setting up the printer</title>\r\n"
    "    <link rel=\"stylesheet\" href=\"help.css\" type=\"text/css\" >\r\n"
    "  </head>\r\n"
    "  <body>\r\n"
    "    <BREAD>\r\n"
    "    <h1 class=\"heading1\">Setting up the printer</h1>\r\n"
    "\r\n"
    "    <p class=\"bodytext\">Before you print for the first time, choose the paper   size\r\n"
    "      and the tray that the printer takes it from.  The settings are kept with the\r\n"
    "      document, so each document can print on its own paper.</p>\r\n"
    "    <p class=\"bodytext\">\tOpen the <b>File</b> menu and choose <i>Page Setup</i>.</p>\r\n"
    "\r\n"
    "    <table class=\"grid\" cellpadding=\"4\" cellspacing=\"0\" >\r\n"
    "      <tr>\r\n"
    "        <th>Setting</th>\r\n"
    "        <th>Effect</th>\r\n"
    "      </tr>\r\n"
    "      <tr>\r\n"
    "        <td>Paper size</td>\r\n"
    "        <td>The size of the sheets in the tray.</td>\r\n"
    "      </tr>\r\n"
    "      <tr>\r\n"
    "        <td>Orientation</td>\r\n"
    "        <td>Portrait or landscape.</td>\r\n"
    "      </tr>\r\n"
    "    </table>\r\n"
    "\r\n"
    "    <pre>\r\n"
    "  lpr -P office   report.txt\r\n"
    "\r\n"
    "  lpq -P office\r\n"
    "</pre>\r\n"
    "    <p class=\"note\">  See also <a href=\"1002.htm\">Printing a document</a>.  </p>\r\n"
    "    <PANEL1>\r\n"
    "  </body>\r\n"
    "</html>\r\n";

constexpr std::string_view kStyleSheetRules =
    "/* Body text and headings of the help pages */\r\n"
    "body {\r\n"
    "  font-family: Verdana, Arial, sans-serif;\r\n"
    "  font-size: 10pt;\r\n"
    "  margin: 0 0 0 8px;\r\n"
    "}\r\n"
    "\r\n"
    "h1.heading1 {\r\n"
    "  color: #003366;  /* the brand colour */\r\n"
    "  font-size: 14pt;\r\n"
    "}\r\n"
    "\r\n"
    "/*\r\n"
    " * Tables: a grid with a shaded header row.\r\n"
    " */\r\n"
    "table.grid th, table.grid td {\r\n"
    "  border: 1px solid #999999;\r\n"
    "  padding: 2px 4px;\r\n"
    "}\r\n"
    "#menu ul li:hover > ul { display: block; }\r\n";

std::string Repeat(std::string_view unit, std::size_t size) {
  std::string text;
  text.reserve(size + unit.size());
  while (text.size() < size) {
    text += unit;
  }
  return text;
}

}  // namespace

std::string GenerateMarkup(std::size_t size) {
  return Repeat(kMarkupTopic, size);
}

std::string GenerateStyleSheet(std::size_t size) {
  return Repeat(kStyleSheetRules, size);
}

}  // namespace quorva
