#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorva {

// What a generated help set holds, for tests that check every topic afterwards.
struct GeneratedHelpSet {
  std::string template_path;              // the frameset template, beside the output folder
  std::string toc_page_path;              // <root>/help/toc.htm
  std::vector<std::string> topic_paths;   // every topic, the orphans included
  std::vector<std::string> orphan_paths;  // topics that no TOC page lists
};

// Writes a help set as the authoring tool does (CR LF line ends, numeric topic names, nested
// TOC pages four levels deep whose book links are followed by the book's topic link) with
// `topics` topics of about 8 KB each into <root>/help/, and the frameset template into <root>.
// Every topic carries "<BREAD>", "<PANEL1>" and "<FILENAME>"; one in a hundred, up to fifteen,
// carries "<MENU>". The TOC pages' book picture, book.gif, lies beside them. The same `topics`
// and `seed` give the same bytes.
GeneratedHelpSet GenerateHelpSet(const std::string& root, int topics, std::uint32_t seed);

}  // namespace quorva
