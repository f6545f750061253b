#include "menu/menu_pass.h"

#include "driver/write_failure.h"
#include "menu/menu_markup.h"
#include "menu/menu_walk.h"

namespace quorva {

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
  if (!page.empty() && !CheckWrite(WriteTextFile(run.fs, page, run.menu), page)) {
    run.console.Write("\nError: Menu page (" + page + ") not written.\n");
  }
}

}  // namespace quorva
