#include "passes/menu/menu_pass.h"

#include "core/toc_page.h"
#include "core/topic_markers.h"
#include "passes/menu/menu_markup.h"
#include "passes/menu/menu_walk.h"
#include "text/path.h"

namespace quorva {

namespace {

// Writes the menu page. One in the output folder is written in its final form at once, so that
// a later run with the same menu leaves the file untouched, unless the topic rewriting may still
// change it: under any name but a TOC page's it is rewritten as a topic, listed or not, and
// markers in the menu's text would be replaced then. Such a page is written in text mode and
// finished by the passes after this one.
void WriteMenuPage(RunContext& run, const std::string& page, const std::string& toc_page_path) {
  const PathParts toc_page = SplitPath(toc_page_path);
  const PathParts menu_page = SplitPath(page);
  const bool in_output_folder =
      menu_page.drive + menu_page.folder == toc_page.drive + toc_page.folder;
  const bool rewritten_as_topic = !IsTocPageName(menu_page.base + menu_page.extension) &&
                                  MayHoldActiveMarker(run.settings, run.menu);
  // The page is the user's choice: it may be written wherever its name leads.
  if (!run.pages.WriteNewPage(page, run.menu, in_output_folder && !rewritten_as_topic,
                              LinkReach::kAnywhere)) {
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
  // The page name is relative to the working folder; topics receive the menu either way.
  const std::string& page = run.settings.menu_page_name;
  if (!page.empty()) {
    WriteMenuPage(run, page, toc_page_path);
  }
}

}  // namespace quorva
