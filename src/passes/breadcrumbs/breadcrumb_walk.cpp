#include "passes/breadcrumbs/breadcrumb_walk.h"

#include "core/toc_page.h"
#include "passes/breadcrumbs/topic_rewriting.h"
#include "text/path.h"
#include "text/text_utils.h"

namespace quorva {

void ParseThisBreadToc(RunContext& run, const std::string& toc_page_path,
                       const std::string& parent_trail, int depth) {
  std::optional<std::string> text =
      EnterTocPage(run.fs, run.console, "ParseThisBreadToc", toc_page_path, depth);
  if (!text) {
    return;
  }
  run.toc_tree.AddTocPage(toc_page_path);
  // One scan claims every new page link at once. A nested TOC page waits for the next new
  // topic link and is walked right after that topic, with its trail.
  PageLinkList links;
  ProgressNames topics(run.console);
  std::optional<std::string> pending_page;
  ScanTocPageLinks(*text, [&](const std::string& name) {
    if (!ClaimPageLink(run.names, name)) {
      return;
    }
    if (IsTocPageName(name)) {
      pending_page = std::string(CutTo(name, kListedNameLimit));
      return;
    }
    topics.Add(name);
    links.AddPageLink(name);
    if (pending_page) {
      links.AddPageLink(*pending_page);
      pending_page.reset();
    }
  });
  run.console.Write(")");
  text.reset();  // only the nested pages' texts are needed from here on

  std::string trail;
  for (const std::string& listed : links.Names()) {
    std::string name(CutTo(listed, kListedNameLimit));
    std::string path = PathBeside(toc_page_path, name);
    if (IsTocPageName(name)) {
      ParseThisBreadToc(run, path, trail, depth + 1);
      continue;
    }
    run.toc_tree.AddListedTopic(path);
    trail.clear();
    if (run.settings.breadcrumbs) {
      trail = CutTo(parent_trail, kTrailLimit);
      AppendBounded(trail, MakeBreadLink(run, toc_page_path, name, depth), kTrailLimit + 1);
    }
    ReplaceMarkerComponents(run, path, trail);
  }
}

}  // namespace quorva
