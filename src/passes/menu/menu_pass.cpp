#include "passes/menu/menu_pass.h"

#include "core/toc_page.h"
#include "core/topic_markers.h"
#include "passes/menu/menu_markup.h"
#include "passes/menu/menu_walk.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// True when a topic pass will still rewrite a page of the output folder named `name` with a
// topic's markers replaced: the other-topics pass lists every `*.htm*` page but a TOC page and
// the navigation pages, and the breadcrumb walk rewrites a page the TOC lists as a topic, as the
// menu walk has just claimed it.
bool IsRewrittenAsTopic(const RunContext& run, const std::string& name) {
  if (IsTocPageName(name) || IsNavigationPageName(name)) {
    return false;
  }
  return MatchesWildcard(name, "*.htm*") || !run.names.IsNewName(name);
}

// Writes the menu page. One in the output folder is written in its final form at once, so that
// a later run with the same menu leaves the file untouched, unless a topic pass would still
// replace markers in the menu's text: then it is written in text mode and that pass and the
// compression pass finish it.
void WriteMenuPage(RunContext& run, const std::string& page, const std::string& toc_page_path) {
  const PathParts toc_page = SplitPath(toc_page_path);
  const PathParts menu_page = SplitPath(page);
  const bool in_output_folder =
      menu_page.drive + menu_page.folder == toc_page.drive + toc_page.folder;
  const bool final_now =
      in_output_folder && !(MayHoldActiveMarker(run.settings, run.menu) &&
                            IsRewrittenAsTopic(run, menu_page.base + menu_page.extension));
  // The page is the user's choice: it may be written wherever its name leads.
  if (!run.pages.WriteNewPage(page, run.menu, final_now, LinkReach::kAnywhere)) {
    run.console.Write("\nError: Menu page (" + page + ") not written.\n");
  }
}

}  // namespace

void BuildMenu(RunContext& run, const std::string& toc_page_path) {
  run.console.Write("\n\nCreating menu.htm.\n");
  run.names.AddNavigationPageNames();
  MenuMarkup markup(run.settings, run.menu);
  if (run.settings.menu_wrapper) {
    markup.OpenWrapper();
  }
  ParseThisMenuToc(run, markup, toc_page_path, 0, 0);
  if (run.settings.menu_wrapper) {
    markup.CloseWrapper();
  }
  // Kept until the last topic is rewritten: no more room than it takes.
  run.menu.shrink_to_fit();
  // The page name is relative to the working folder; topics receive the menu either way.
  const std::string& page = run.settings.menu_page_name;
  if (!page.empty()) {
    WriteMenuPage(run, page, toc_page_path);
  }
}

}  // namespace quorva
