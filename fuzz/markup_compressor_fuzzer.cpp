// Fuzzes the HTML and PHP whitespace compressor. What it asserts for every input x:
//  - the output is a subsequence of x, so never longer, and only white space (space, tab,
//    vertical tab, form feed), carriage returns and line feeds are taken out;
//  - the output holds no carriage return and no two line feeds in a row;
//  - compressing the output again changes nothing: Compress(Compress(x)) == Compress(x), inside
//    pre elements as well as outside them;
//  - carriage returns put before line feeds change nothing: Compress(Encode(x)) == Compress(x),
//    so a page's last rewrite may compress its text before translating the line ends;
//  - compressing in the text's own buffer gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_property.h"
#include "text/markup_compressor.h"
#include "text/text_mode.h"
#include "text_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string output = CompressMarkupText(text);
  RequireProperty(output.size() <= text.size(), "compression never lengthens a text");
  RequireProperty(IsSubsequence(output, text), "compression only removes bytes");
  RequireProperty(WithoutWhitespace(output) == WithoutWhitespace(text),
                  "compression removes only white space and line ends");
  RequireProperty(output.find('\r') == std::string::npos, "no carriage return is left");
  RequireProperty(output.find("\n\n") == std::string::npos, "no empty line is left");
  RequireProperty(CompressMarkupText(output) == output, "compressing twice changes nothing more");
  RequireProperty(CompressMarkupText(EncodeTextMode(text)) == output,
                  "carriage returns before line feeds change nothing");
  std::string in_place(text);
  CompressMarkupInPlace(in_place);
  RequireProperty(in_place == output, "compressing in place gives the same bytes");
  return 0;
}
