#include "passes/menu/menu_pass.h"

#include "core/write_failure.h"
#include "passes/compression/compress_output_folder.h"
#include "passes/menu/menu_markup.h"
#include "passes/menu/menu_walk.h"
#include "text/path.h"
#include "text/text_mode.h"

namespace quorva {

namespace {

// Writes the menu page. One in the output folder is written in its final form at once,
// compressed when the compression pass would compress it, so that a later run with the same
// menu leaves the file untouched.
void WriteMenuPage(RunContext& run, const std::string& page, const std::string& toc_page_path) {
  const PathParts toc_page = SplitPath(toc_page_path);
  const PathParts menu_page = SplitPath(page);
  std::string bytes = run.menu;
  const bool finished = menu_page.drive + menu_page.folder == toc_page.drive + toc_page.folder &&
                        CompressAtLastRewrite(run.settings, FileNameOf(page), bytes);
  if (!finished) {
    bytes = EncodeTextMode(bytes);
  }
  if (!CheckWrite(run.fs.WriteBinary(page, bytes), page)) {
    run.console.Write("\nError: Menu page (" + page + ") not written.\n");
  } else if (finished) {
    run.finished_files.insert(page);
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
