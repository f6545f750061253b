// Fuzzes the CSS compressor. What it asserts for every input x:
//  - the output is a subsequence of x, so never longer, and holds no carriage return;
//  - when x holds no comment opening "/*", only white space, carriage returns and line feeds
//    are taken out;
//  - when neither x nor the output holds "/*", compressing the output again changes nothing.
//    A comment breaks this: "/" + "/**/" + "*" leaves a new "/*", and ";/**/ x" keeps the space
//    after the comment, which a second pass removes. So does a "/" and a "*" that only a
//    dropped carriage return kept apart: "/\r*" comes out as "/*".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_property.h"
#include "text/style_sheet_compressor.h"
#include "text_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string output = CompressStyleSheetText(text);
  RequireProperty(output.size() <= text.size(), "compression never lengthens a style sheet");
  RequireProperty(IsSubsequence(output, text), "compression only removes bytes");
  RequireProperty(output.find('\r') == std::string::npos, "no carriage return is left");
  if (text.find("/*") != std::string_view::npos) {
    return 0;
  }
  RequireProperty(WithoutWhitespace(output) == WithoutWhitespace(text),
                  "without comments only white space and line ends are removed");
  if (output.find("/*") == std::string::npos) {
    RequireProperty(CompressStyleSheetText(output) == output,
                    "without comments compressing twice changes nothing more");
  }
  return 0;
}
