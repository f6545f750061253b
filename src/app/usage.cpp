#include "app/usage.h"

#include <string>

#include "app/switch_reference.h"
#include "app/version.h"

namespace quorva {

namespace {

// The usage screen's last text, which asks for the key press that follows it.
constexpr char kPressAnyKey[] = " -- Press any key --.";

void PrintUsageText(Console& console) {
  console.Write(std::string("\nQUORVA ") + kFullVersion + " - " + kDescription + ".\n");
  static const char* const kTexts[] = {
      "\n\nUsage:\n",
      "\nUsage  ",
      "\n",
      "\nQUORVA.EXE  frameset_template output_toc optional_switches ",
      "\n",
      "\nExample                            ",
      "\n",
      "\nQUORVA.EXE \"C:\\AITdata\\fsref.htm\" \"C:\\AITpub\\HTML\\Test\\toc.htm\" -c -bi",
      "\n",
      "\nNote: In the example, the quotation marks are optional. You must enclose",
      "\nthe file name in quotations marks if it includes blanks.",
      "\n",
      "\nFrameset template ",
      "\n",
      "\nIn the example, quorva_frameset.htm is the frameset to be used as template ",
      "\nfor each innn.htm file. This file can be the AuthorIT ",
      "\nframeset template (normally ",
      "C:\\Program Files\\AuthorITv4\\Data\\Templates\\Plain HTML\\html_frameset.htm). ",
      "\n ",
      "\nFor information about the switches see the attached help file.",
      "\n",
  };
  for (const char* text : kTexts) {
    console.Write(text);
  }
}

}  // namespace

void PrintUsage(Console& console) {
  PrintUsageText(console);
  console.Write(kPressAnyKey);
}

void PrintHelp(Console& console) {
  PrintUsageText(console);
  PrintSwitchReference(console);
}

void PrintVersionBanner(Console& console) {
  console.Write(std::string("\nQUORVA Tessivane -- Version: ") + kReleaseVersion + ".\n\n");
}

}  // namespace quorva
