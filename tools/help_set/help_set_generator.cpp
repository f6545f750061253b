#include "help_set/help_set_generator.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "help_set/book_picture.h"
#include "help_set/finding_planter.h"
#include "help_set/topic_name.h"

namespace quorva {

namespace {

namespace fs = std::filesystem;

// A small generator of our own, so a seed gives the same help set with every standard library.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next(std::uint32_t bound) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ % bound;
  }

 private:
  std::uint32_t state_;
};

const char* const kWords[] = {"printer", "document", "setting", "page",    "report",  "table",
                              "option",  "window",   "folder",  "topic",   "toolbar", "template",
                              "style",   "margin",   "font",    "section", "index",   "preview"};

std::string Words(Random& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += (i == 0 ? "" : " ");
    text += kWords[random.Next(sizeof kWords / sizeof kWords[0])];
  }
  return text;
}

std::string TopicTitle(int number, Random& random) {
  std::string title = Words(random, 3);
  title[0] = static_cast<char>(title[0] - 32);
  return title + " " + std::to_string(number);
}

// About 8 KB of indented markup with paragraphs, a table and a pre block.
std::string TopicText(int number, bool with_menu, Random& random) {
  std::string page =
      "<html>\n  <head>\n    <title>" + TopicTitle(number, random) +
      "</title>\n    <link rel=\"stylesheet\" href=\"help.css\" type=\"text/css\">\n";
  if (with_menu) {
    page += "    <link rel=\"stylesheet\" href=\"menu.css\" type=\"text/css\">\n";
  }
  page += "  </head>\n  <body>\n";
  if (with_menu) {
    page += "    <MENU>\n";
  }
  page += "    <p class=\"breadcrumbs\"><BREAD></p>\n    <PANEL1>\n";
  page += "    <h1 class=\"heading1\">" + Words(random, 4) + "</h1>\n";
  while (page.size() < 7600) {
    page += "\n    <p class=\"bodytext\">" + Words(random, 12) + ",  " + Words(random, 10) +
            ".\n      " + Words(random, 14) + ".</p>\n";
    if (random.Next(4) == 0) {
      page += "    <table class=\"grid\" cellpadding=\"4\">\n      <tr>\n        <td>" +
              Words(random, 2) + "</td>\n        <td>" + Words(random, 6) +
              "</td>\n      </tr>\n    </table>\n";
    }
    if (random.Next(6) == 0) {
      page +=
          "    <pre>\n  quorva " + Words(random, 2) + "\n\n    " + Words(random, 3) + "\n</pre>\n";
    }
  }
  page += "    <p class=\"filename\">Topic file: <FILENAME></p>\n  </body>\n</html>\n";
  return page;
}

void WriteCrLf(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  for (char c : text) {
    if (c == '\n') {
      out << '\r';
    }
    out << c;
  }
}

// A TOC page's links in page order; a book is its nested page's link and its topic's link.
struct TocPage {
  std::string name;
  std::string links;
};

// Lays out the TOC tree depth first: each page lists `per_page` topics, and a page above the
// fourth level holds `books` books, each opening a nested page one level deeper.
class TocTreePlanner {
 public:
  TocTreePlanner(int books, int per_page, int topics, Random& random)
      : books_(books), per_page_(per_page), topics_(topics), random_(random) {}

  void Plan(const std::string& name, int depth) {
    std::size_t index = pages.size();
    pages.push_back({name, ""});
    for (int i = 0; i < per_page_ && next_topic_ < topics_; ++i) {
      std::string topic = TopicName(next_topic_++);
      pages[index].links +=
          "<li><a href=\"" + topic + "\" target=\"main\">" + Words(random_, 2) + "</a></li>\n";
      if (depth < 3 && i % (per_page_ / books_ + 1) == 0 && next_topic_ < topics_) {
        std::string nested = "toc" + std::to_string(pages.size()) + ".htm";
        std::string book = TopicName(next_topic_++);
        pages[index].links += "<li class=\"book\"><a href=\"" + nested +
                              "\" target=\"_self\"><img src=\"book.gif\" alt=\"\"></a><a href=\"" +
                              book + "\" target=\"main\">" + Words(random_, 2) + "</a></li>\n";
        Plan(nested, depth + 1);
      }
    }
  }
  // Topics the tree had no room for are listed on the root page.
  void ListTheRestOnTheRootPage() {
    while (next_topic_ < topics_) {
      pages[0].links += "<li><a href=\"" + TopicName(next_topic_++) + "\">more</a></li>\n";
    }
  }

  std::vector<TocPage> pages;

 private:
  int books_;
  int per_page_;
  int topics_;
  int next_topic_ = 0;
  Random& random_;
};

}  // namespace

GeneratedHelpSet GenerateHelpSet(const std::string& root, int topics, std::uint32_t seed,
                                 Planting planting, MenuTopics menus) {
  Random random(seed);
  const fs::path help = fs::path(root) / "help";
  fs::create_directories(help);
  GeneratedHelpSet set;
  set.template_path = (fs::path(root) / "fsref.htm").string();
  set.toc_page_path = (help / "toc.htm").string();

  // A tree of four levels whose pages list about twenty links each.
  const int orphans = 3 + topics / 1000;
  const int listed = topics - orphans;
  int books = 2;
  while (1 + books + books * books + books * books * books < listed / 20) {
    ++books;
  }
  const int pages = 1 + books + books * books + books * books * books;
  TocTreePlanner planner(books, listed / pages + 1, listed, random);
  planner.Plan("toc.htm", 0);
  planner.ListTheRestOnTheRootPage();
  FindingPlanter planter(planting, topics, listed);
  planner.pages[0].links.insert(0, planter.MissingTopicEntries());
  for (std::size_t i = 0; i < planner.pages.size(); ++i) {
    const TocPage& page = planner.pages[i];
    std::string text =
        "<html>\n<head>\n<title>Contents</title>\n<link rel=\"stylesheet\" "
        "href=\"help.css\" type=\"text/css\">\n</head>\n<body class=\"toc\">\n"
        "<p class=\"tabs\"><a href=\"tab_toc.htm\" target=\"_self\">Index</a></p>\n<ul>\n" +
        page.links + "</ul>\n</body>\n</html>\n";
    planter.PlantInTocPage(i, planner.pages.size(), page.name, text);
    WriteCrLf(help / page.name, text);
  }
  for (int i = 0; i < orphans; ++i) {
    set.orphan_paths.push_back((help / TopicName(listed + i)).string());
    planter.NoteUnreachable(TopicName(listed + i));
  }
  // One topic in a hundred is a landing page that carries the menu. The menu mirrors the whole
  // TOC, so its size grows with the set; a large set keeps it on a few landing pages only, or
  // the menu copies alone would outweigh the rest of the set. Lifting that cap measures what
  // the menu costs when it does.
  const int kLandingPages = 15;
  for (int i = 0; i < topics; ++i) {
    const bool landing_page =
        i % 100 == 7 && (menus == MenuTopics::kEveryHundredth || i / 100 < kLandingPages);
    std::string text = TopicText(i, landing_page, random);
    planter.PlantInTopic(i, text);
    WriteCrLf(help / TopicName(i), text);
    set.topic_paths.push_back((help / TopicName(i)).string());
  }

  WriteCrLf(help / "index.htm",
            "<html>\n<head>\n<title>Generated Help</title>\n</head>\n<frameset cols=\"25%,*\">\n"
            "<frame src=\"toc.htm\" name=\"toc\" title=\"Contents\">\n<frame src=\"" +
                TopicName(0) + "\" name=\"main\" title=\"Topic\">\n</frameset>\n</html>\n");
  WriteCrLf(help / "tab_toc.htm",
            "<html>\n<head>\n<title>Index</title>\n</head>\n<body>\n<a "
            "href=\"toc.htm\">Contents</a>\n</body>\n</html>\n");
  WriteCrLf(help / "help.css",
            "/* Generated help */\nbody {\n    font-family: Verdana, sans-serif;\n"
            "    font-size: 10pt;\n}\n\np.breadcrumbs {\n    font-size: 8pt;\n}\n");
  // The drop-down menu's style sheet, which the topics with a menu link.
  WriteCrLf(help / "menu.css",
            "/* Drop-down menu */\nul.toplevel li {\n    display: inline;\n}\n"
            "ul.downlevel {\n    display: none;\n}\n");
  WriteCrLf(help / "panel1.txt", "<div class=\"panel\">Generated Help</div>\n");
  std::ofstream(help / "book.gif", std::ios::binary)
      .write(reinterpret_cast<const char*>(kBookPicture), kBookPictureSize);
  const std::string frameset =
      "<html>\n<head>\n<title></title>\n</head>\n<frameset cols=\"25%,*\">\n"
      "<frame src=\"toc.htm\" name=\"toc\" title=\"Contents\">\n<frame src=\"main.htm\" "
      "name=\"main\"" +
      planter.MainFrameTitle() + ">\n</frameset>\n</html>\n";
  WriteCrLf(set.template_path, frameset);
  planter.NoteIndexFramePages(frameset, listed);
  for (const auto& [name, text] : planter.UnlinkedPages()) {
    WriteCrLf(help / name, text);
  }
  set.findings = planter.TakeFindings();
  return set;
}

}  // namespace quorva
