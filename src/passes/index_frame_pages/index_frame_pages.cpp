#include "passes/index_frame_pages/index_frame_pages.h"

#include <new>
#include <utility>

#include "core/fatal_error.h"
#include "core/toc_page.h"
#include "core/topic_markers.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

constexpr std::size_t kIndexFramePageNameLimit = 255;

std::string TitleSlotText(IndexFrameWalk& walk, const std::string& topic_path) {
  if (!walk.run.settings.per_topic_titles) {
    return walk.index_page_title;
  }
  return walk.run.titles.Title(topic_path).value_or("");
}

void WriteIndexFramePage(IndexFrameWalk& walk, const PathParts& toc_page,
                         const std::string& toc_page_name, const std::string& topic) {
  std::string page_name(CutTo("i" + topic, kIndexFramePageNameLimit));
  std::array<std::string, 3> slot_texts;
  slot_texts[walk.format.main_slot] = CutTo(topic, kSlotTextLimit);
  slot_texts[walk.format.toc_slot] = CutTo(toc_page_name, kSlotTextLimit);
  const std::string topic_path = MakePath(toc_page.drive, toc_page.folder, topic, "");
  bool title_from_topic_empty = false;
  if (walk.format.has_title_slot) {
    std::string& title = slot_texts[walk.format.title_slot];
    title = CutTo(TitleSlotText(walk, topic_path), kSlotTextLimit);
    title_from_topic_empty = walk.run.settings.per_topic_titles && IsBlank(title);
  }
  std::string page;
  try {
    page = FillFramesetFormat(walk.format, slot_texts);
  } catch (const std::bad_alloc&) {
    throw FatalError("\nError: Out of memory\n");
  }
  std::string path = MakePath(toc_page.drive, toc_page.folder, page_name, "");
  walk.run.toc_tree.AddIndexFramePage(path, topic_path, title_from_topic_empty);
  // A page that no marker of the later rewriting can change is at its last rewrite already. A
  // page the system refuses to create is skipped; the topic stays claimed. A file of that name
  // is one found in the output folder.
  const bool last_rewrite = !MayHoldActiveMarker(walk.run.settings, page);
  walk.run.pages.WriteNewPage(path, std::move(page), last_rewrite, LinkReach::kOwnFolder);
}

}  // namespace

void ParseThisToc(IndexFrameWalk& walk, const std::string& toc_page_path, int depth) {
  RunContext& run = walk.run;
  std::optional<std::string> text =
      EnterTocPage(run.fs, run.console, "ParseThisToc", toc_page_path, depth);
  if (!text) {
    return;
  }
  // The breadcrumb walk passes over a nested TOC page linked after a page's last topic link;
  // the check learns of it here.
  run.toc_tree.AddTocPage(toc_page_path);
  PathParts page = SplitPath(toc_page_path);
  const std::string page_name = page.base + page.extension;

  ProgressNames topics(run.console);
  ScanTocPageLinks(*text, [&](const std::string& name) {
    if (!IsTocPageName(name) && ClaimPageLink(run.names, name)) {
      topics.Add(name);
      WriteIndexFramePage(walk, page, page_name, name);
    }
  });
  PageLinkList nested_pages;
  ScanTocPageLinks(*text, [&](const std::string& name) {
    if (IsTocPageName(name) && ClaimPageLink(run.names, name)) {
      nested_pages.AddPageLink(name);
    }
  });
  run.console.Write(")");
  text.reset();  // only the nested pages' texts are needed from here on

  for (const std::string& name : nested_pages.Names()) {
    ParseThisToc(walk, PathBeside(toc_page_path, CutTo(name, kListedNameLimit)), depth + 1);
  }
}

void CreateIndexFramePages(RunContext& run, const FramesetFormat& format,
                           const std::string& index_page_title, const std::string& toc_page_path) {
  run.names.ReleaseListedNames();
  run.console.Write("\n\n\nCreating indexfiles.\n");
  run.names.AddNavigationPageNames();
  IndexFrameWalk walk{run, format, index_page_title};
  ParseThisToc(walk, toc_page_path, 0);
}

}  // namespace quorva
