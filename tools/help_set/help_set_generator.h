#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorva {

// A problem a link check of the processed set reports, at the place it reports it. The places
// hold for a run from inside help/ as "quorva ../fsref.htm toc.htm -mm -p1panel1.txt -nf"
// (no -c), which writes its menu page toc-menu.htm into help/ too.
struct PlantedFinding {
  std::string kind;    // "broken-link", "unreachable", "missing-title", ... as the check names it
  std::string level;   // "error" for a problem, "warning" for a warning
  std::string page;    // the page's path relative to help/ (the template's is ../fsref.htm)
  int line = 1;        // 1-based, lines counted by LF
  int column = 1;      // 1-based, in bytes: the link's value after its quote, or the marker's "<"
  std::string target;  // the link or marker as it stands; an unreachable page's own name
  std::string reason;  // what the check says in brackets after it; may be empty
};

// "PAGE:LINE:COLUMN: KIND: TARGET (REASON)", the check's console line.
std::string FormatFindingLine(const PlantedFinding& finding);

// kEveryKind plants one problem of each kind per 500 topics, at least one, into the set.
enum class Planting { kNone, kEveryKind };

// Which topics carry "<MENU>": one in a hundred, up to fifteen, or one in a hundred however many
// there are, to measure what the menu costs in a large set.
enum class MenuTopics { kUpToFifteen, kEveryHundredth };

// What a generated help set holds, for tests that check every topic afterwards.
struct GeneratedHelpSet {
  std::string template_path;              // the frameset template, beside the output folder
  std::string toc_page_path;              // <root>/help/toc.htm
  std::vector<std::string> topic_paths;   // every topic, the orphans included
  std::vector<std::string> orphan_paths;  // topics that no TOC page lists
  // What a link check reports after the run, sorted by page (in byte order), line and column:
  // the orphans, which no page links, and whatever was planted.
  std::vector<PlantedFinding> findings;
};

// Writes a help set as the authoring tool does (CR LF line ends, numeric topic names, nested
// TOC pages four levels deep whose book links are followed by the book's topic link) with
// `topics` topics of about 8 KB each into <root>/help/, and the frameset template into <root>.
// Every topic carries "<BREAD>", "<PANEL1>" and "<FILENAME>"; the topics `menus` names carry
// "<MENU>" and link menu.css. The TOC pages' book picture, book.gif, lies beside them. The same
// `topics`, `seed` and `menus` give the same bytes. Planting changes only the places it plants
// at, so the rest of a planted set is byte for byte the set without.
GeneratedHelpSet GenerateHelpSet(const std::string& root, int topics, std::uint32_t seed,
                                 Planting planting = Planting::kNone,
                                 MenuTopics menus = MenuTopics::kUpToFifteen);

}  // namespace quorva
