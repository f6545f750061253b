#include "app/switch_reference.h"

#include <string>

namespace quorva {

namespace {

struct SwitchLine {
  const char* names;
  const char* effect;
};

struct SwitchGroup {
  const char* name;
  std::initializer_list<SwitchLine> lines;
};

// The effects end with the default where a switch has one worth knowing.
const SwitchGroup kSwitchGroups[] = {
    {"Links",
     {{"-ub<text>", "URL prefix before breadcrumb and menu links"},
      {"-ubf<file>", "URL prefix read from a file (missing: empty)"},
      {"-ul, -ur, -un", "URL prefix ./, / or empty"}}},
    {"Breadcrumbs",
     {{"-bb, -bbn", "replace <BREAD> with breadcrumb trails; on"},
      {"-bi, -bin", "links open the topic's index frame page; off"},
      {"-bl, -bln", "first-level links also get the separator; off"},
      {"-bu<file>", "breadcrumb separator read from a file"},
      {"-bh<file>, -bt<file>", "text before, after the topic in -bi links"}}},
    {"Index frame pages",
     {{"-fi, -fin", "write index frame pages; on"},
      {"-ft, -ftn", "with the topic's title (off: index.htm's); on"}}},
    {"Topics",
     {{"-nf, -nfn", "replace <FILENAME> with the file name; off"},
      {"-p1<file> ... -p9<file>", "snippet for <PANEL1> ... <PANEL9>"}}},
    {"Drop-down menu",
     {{"-mm, -mmr, -mmn", "build the menu at <MENU>; only remove it; neither"},
      {"-mw<name>", "menu page written (empty: none); toc-menu.htm"},
      {"-mb<n>", "menu levels shown as buttons; 1"},
      {"-ma, -maa, -mag, -man", "drop arrow &#9658;, &rarr;, &raquo; or none"},
      {"-md, -mdn", "wrap the menu in its div and list; on"},
      {"-mp, -mpn", "repeat a parent entry in its drop-down; off"},
      {"-ms, -msn", "wide spacing around entry texts; off"},
      {"-mt, -mtn", "markup for old browsers; on"},
      {"-mi<list>, -mif<file>", "up to nine extra menu items"}}},
    {"Compression", {{"-c, -cn", "compress HTML, PHP and CSS files; off"}}},
    {"Checking",
     {{"--check", "check the output folder after the passes"},
      {"--dry-run", "run every pass, write nothing, list the changes"},
      {"--strict", "exit code 4 when the check finds a problem"},
      {"--report=FILE", "findings to FILE: .sarif, .htm, .html or JSON"},
      {"--ignore=FILE", "findings to accept, one per line"},
      {"--web", "also ask the web about http and https links"},
      {"--web-cache=FILE", "remember the web's answers in FILE"},
      {"--web-private", "also ask private and local addresses"},
      {"--web-timeout=SECONDS", "longest web request, 1 to 600 s; 30"}}},
    {"Usage and version",
     {{"--help, -h, -?, /?", "this screen (as the first argument)"},
      {"--version, -ver", "the version banner (as the first argument)"}}},
};

// Where the effects start, so that the longest names still leave a space before them.
constexpr std::size_t kEffectColumn = 27;

}  // namespace

void PrintSwitchReference(Console& console) {
  console.Write(
      "\nSwitches: each is one argument, its value right after its letters"
      "\n(-p1head.txt); an n after a flag's letters turns it off (-cn).\n");
  for (const SwitchGroup& group : kSwitchGroups) {
    std::string text = std::string("\n") + group.name + ":\n";
    for (const SwitchLine& line : group.lines) {
      std::string names = std::string("  ") + line.names;
      names.resize(kEffectColumn, ' ');
      text += names + line.effect + "\n";
    }
    console.Write(text);
  }
}

}  // namespace quorva
