#include "help_set/finding_planter.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <tuple>

#include "help_set/topic_name.h"

namespace quorva {

namespace {

// One problem of each kind per this many topics, so a large set has several of each.
constexpr int kTopicsPerPlant = 500;

// The menu -mm builds opens its wrapper and top-level list on its first two lines; each entry
// of the root TOC page follows on a line of its own, as a button indented by two units whose
// link's value starts right after this.
constexpr int kMenuFirstEntryLine = 3;
constexpr std::string_view kMenuButtonEntry = "        <li><a class=\"menubutton\" href=\"";
constexpr int kMenuEntryColumn = static_cast<int>(kMenuButtonEntry.size()) + 1;

// The pass that writes the menu names its page toc-menu.htm in the working folder, help/.
constexpr char kMenuPage[] = "toc-menu.htm";

// -p1 loads a snippet, and with one loaded the rewriting removes every <PANELn> it has none
// for; only a page it does not rewrite keeps one.
constexpr char kMarker[] = "<PANEL2>";

// A book of the root TOC page whose TOC page was never written, and the chapter it would have
// listed: two pages that link each other, the TOC page and a script that was never published.
constexpr char kMissingTocPage[] = "tocplanned.htm";
constexpr char kMissingScript[] = "scripts/planned.js";
constexpr int kChapterPages = 2;
// A topic the root TOC page lists under a name the TOC scan cuts at its hyphen.
constexpr char kHyphenatedTopic[] = "my-page.htm";
constexpr char kInAPageNothingReaches[] = "in a page nothing reaches";

std::string ChapterPage(int number) {
  return "chapter-" + std::to_string(number) + ".htm";
}

// Problems are what is broken for a reader; the rest, and whatever stands in a page nothing
// reaches, are warnings.
std::string LevelOf(const std::string& kind, const std::string& reason) {
  const bool problem_kind = kind == "broken-link" || kind == "case-mismatch" ||
                            kind == "broken-anchor" || kind == "marker-left";
  const bool unreachable = reason.find(kInAPageNothingReaches) != std::string::npos;
  return problem_kind && !unreachable ? "error" : "warning";
}

std::pair<int, int> LineAndColumn(const std::string& text, std::size_t offset) {
  const auto lines =
      std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
  const std::size_t last_break = offset == 0 ? std::string::npos : text.rfind('\n', offset - 1);
  const std::size_t line_start = last_break == std::string::npos ? 0 : last_break + 1;
  return {static_cast<int>(lines) + 1, static_cast<int>(offset - line_start) + 1};
}

std::string InUppercase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

}  // namespace

std::string FormatFindingLine(const PlantedFinding& finding) {
  return finding.page + ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column) +
         ": " + finding.kind + ": " + finding.target +
         (finding.reason.empty() ? "" : " (" + finding.reason + ")");
}

// The hosts and targets step through the listed topics, never the orphans: a link to an
// orphan would make it reachable.
FindingPlanter::FindingPlanter(Planting planting, int topics, int listed)
    : count_(planting == Planting::kEveryKind ? std::max(1, topics / kTopicsPerPlant) : 0) {
  for (int i = 0; i < count_; ++i) {
    const int step = i * kTopicsPerPlant;
    // The numbers after the last topic: never a topic of the set, however large.
    missing_topics_.push_back(TopicName(topics + i));
    const std::string image = "images/missing-" + std::to_string(i + 1) + ".png";
    topic_plants_[(1 + step) % listed].push_back(
        {"broken-link", "    <img src=\"" + image + "\" alt=\"\">\n", image, "", image});
    // A picture without alt text beside one that is decoration.
    topic_plants_[(1 + step) % listed].push_back(
        {"missing-alt", "    <p><img src=\"book.gif\"> <img src=\"book.gif\" alt=\"\"></p>\n",
         "book.gif", "", "<img"});
    const std::string anchor = TopicName((3 + step) % listed) + "#no-such-anchor";
    topic_plants_[(2 + step) % listed].push_back(
        {"broken-anchor", "    <p><a href=\"" + anchor + "\">See also</a></p>\n", anchor, "",
         anchor});
    const std::string related = TopicName((7 + step) % listed);
    const std::string other_case = InUppercase(related);
    topic_plants_[(4 + step) % listed].push_back(
        {"case-mismatch", "    <p><a href=\"" + other_case + "\">Related</a></p>\n", other_case,
         "the file is " + related, other_case});
    empty_titled_topics_.push_back((5 + step) % listed);
    untitled_topics_.push_back((6 + step) % listed);
  }
}

std::string FindingPlanter::MissingTopicEntries() const {
  std::string entries;
  for (const std::string& topic : missing_topics_) {
    entries += "<li><a href=\"" + topic + "\" target=\"main\">Planned topic</a></li>\n";
  }
  if (count_ != 0) {
    entries += "<li class=\"book\"><a href=\"" + std::string(kMissingTocPage) +
               "\" target=\"_self\"><img src=\"book.gif\" alt=\"\"></a>Planned chapter</li>\n"
               "<li><a href=\"" +
               std::string(kHyphenatedTopic) + "\" target=\"main\">My page</a></li>\n";
  }
  return entries;
}

std::string FindingPlanter::MainFrameTitle() const {
  return count_ == 0 ? " title=\"Topic\"" : "";
}

// No pass rewrites a TOC page, so a marker in one stays whatever the switches: the markers go
// there, spread over the tree, each on the line after <body>.
void FindingPlanter::PlantInTocPage(std::size_t index, std::size_t page_count,
                                    const std::string& name, std::string& text) {
  std::size_t markers = 0;
  for (int i = 1; i <= count_; ++i) {
    markers +=
        static_cast<std::size_t>(i) * page_count / static_cast<std::size_t>(count_ + 1) == index;
  }
  const std::size_t body_line_end = text.find('\n', text.find("<body")) + 1;
  const std::string marker_line = std::string(kMarker) + "\n";
  for (std::size_t i = 0; i < markers; ++i) {
    text.insert(body_line_end, marker_line);
  }
  for (std::size_t i = 0; i < markers; ++i) {
    NoteAt("marker-left", name, text, body_line_end + i * marker_line.size(), kMarker,
           "TOC pages are not rewritten");
  }
  if (index != 0) {
    return;
  }
  // The menu page starts with the root page's entries, and so with the missing topics.
  for (std::size_t i = 0; i < missing_topics_.size(); ++i) {
    const std::string& topic = missing_topics_[i];
    NoteAt("broken-link", name, text, text.find("href=\"" + topic + "\"") + 6, topic);
    findings_.push_back({"broken-link", "error", kMenuPage,
                         kMenuFirstEntryLine + static_cast<int>(i), kMenuEntryColumn, topic, ""});
  }
  if (count_ != 0) {
    NoteAt("broken-link", name, text, text.find(kMissingTocPage), kMissingTocPage);
    const std::size_t hyphenated = text.find(kHyphenatedTopic);
    const int cut_column = LineAndColumn(text, hyphenated).second + 2;
    NoteAt("unread-toc-name", name, text, hyphenated, kHyphenatedTopic,
           "the TOC scan reads \"my\", cut at column " + std::to_string(cut_column));
  }
}

void FindingPlanter::PlantInTopic(int number, std::string& text) {
  const std::string name = TopicName(number);
  // A title left empty is reported at its place; a page without one, at its start.
  const bool empty_title = std::find(empty_titled_topics_.begin(), empty_titled_topics_.end(),
                                     number) != empty_titled_topics_.end();
  const bool no_title =
      std::find(untitled_topics_.begin(), untitled_topics_.end(), number) != untitled_topics_.end();
  if (empty_title || no_title) {
    const std::size_t title = text.find("<title>");
    const std::size_t text_start = empty_title ? title + 7 : title;
    text.erase(text_start, text.find("</title>") + (empty_title ? 0 : 8) - text_start);
    NoteAt("missing-title", name, text, empty_title ? title : 0, name,
           "its index frame page i" + name + " is titled with nothing");
  }
  auto plants = topic_plants_.find(number);
  if (plants != topic_plants_.end()) {
    // Right after <body>, ahead of every marker, so no replacement moves them.
    std::size_t at = text.find("<body>\n") + 7;
    for (const TopicPlant& plant : plants->second) {
      text.insert(at, plant.line);
      NoteAt(plant.kind, name, text, at + plant.line.find(plant.place), plant.target, plant.reason);
      at += plant.line.size();
    }
  }
  // The menu replaces "<MENU>"; its lines after the first keep their own columns.
  const std::size_t menu = text.find("<MENU>");
  if (menu == std::string::npos) {
    return;
  }
  const int menu_line = LineAndColumn(text, menu).first;
  for (std::size_t i = 0; i < missing_topics_.size(); ++i) {
    findings_.push_back({"broken-link", "error", name,
                         menu_line + kMenuFirstEntryLine - 1 + static_cast<int>(i),
                         kMenuEntryColumn, missing_topics_[i], ""});
  }
}

// The index frame pass writes "i" + topic for every topic a TOC page lists, the missing ones
// too, with the topic's name in place of the template's "main.htm". The slots before it stand
// on lines of their own, so their texts do not move it.
void FindingPlanter::NoteIndexFramePages(const std::string& template_text, int listed) {
  const std::size_t copies = static_cast<std::size_t>(listed) + missing_topics_.size();
  const std::size_t main_slot = template_text.find("main.htm");
  for (const std::string& topic : missing_topics_) {
    NoteAt("broken-link", "i" + topic, template_text, main_slot, topic);
  }
  if (count_ != 0) {
    NoteAt("frame-title", "../fsref.htm", template_text, template_text.rfind("<frame", main_slot),
           "main.htm", "copied into " + std::to_string(copies) + " index frame pages");
  }
}

void FindingPlanter::NoteUnreachable(const std::string& name) {
  findings_.push_back({"unreachable", "warning", name, 1, 1, name, "nothing links it"});
}

std::vector<std::pair<std::string, std::string>> FindingPlanter::UnlinkedPages() {
  std::vector<std::pair<std::string, std::string>> pages;
  for (int i = 1; i <= count_; ++i) {
    const std::string name = "draft-notes-" + std::to_string(i) + ".htm";
    pages.emplace_back(name, "<html>\n<head>\n<title>Draft notes " + std::to_string(i) +
                                 "</title>\n</head>\n<body>\n<p>Notes for topics to come.</p>\n"
                                 "</body>\n</html>\n");
    NoteUnreachable(name);
  }
  if (count_ == 0) {
    return pages;
  }
  for (int i = 1; i <= kChapterPages; ++i) {
    const std::string name = ChapterPage(i);
    const std::string other = ChapterPage(kChapterPages + 1 - i);
    const std::string text =
        "<html>\n<head>\n<title>Planned chapter " + std::to_string(i) + "</title>\n<script src=\"" +
        kMissingScript + "\"></script>\n</head>\n<body>\n<p><a href=\"" + kMissingTocPage +
        "\">Contents</a> <a href=\"" + other + "\">Next</a></p>\n</body>\n</html>\n";
    pages.emplace_back(name, text);
    findings_.push_back({"unreachable", "warning", name, 1, 1, name, "linked only from " + other});
    NoteAt("broken-link", name, text, text.find(kMissingScript), kMissingScript,
           kInAPageNothingReaches);
    NoteAt("broken-link", name, text, text.find(kMissingTocPage), kMissingTocPage,
           kInAPageNothingReaches);
  }
  pages.emplace_back(kHyphenatedTopic,
                     "<html>\n<head>\n<title>My page</title>\n</head>\n"
                     "<body>\n<p>A page the TOC scan reads as \"my\".</p>\n"
                     "</body>\n</html>\n");
  return pages;
}

std::vector<PlantedFinding> FindingPlanter::TakeFindings() {
  std::sort(findings_.begin(), findings_.end(), [](const auto& a, const auto& b) {
    return std::tie(a.page, a.line, a.column, a.kind, a.target) <
           std::tie(b.page, b.line, b.column, b.kind, b.target);
  });
  return std::move(findings_);
}

void FindingPlanter::NoteAt(const std::string& kind, const std::string& page,
                            const std::string& text, std::size_t offset, const std::string& target,
                            const std::string& reason) {
  const auto [line, column] = LineAndColumn(text, offset);
  findings_.push_back({kind, LevelOf(kind, reason), page, line, column, target, reason});
}

}  // namespace quorva
