#include "passes/breadcrumbs/other_topics.h"

#include "core/toc_page.h"
#include "passes/breadcrumbs/topic_rewriting.h"
#include "text/path.h"
#include "text/text_utils.h"

namespace quorva {

bool ModifyOtherTopics(RunContext& run, const std::string& toc_page_path) {
  if (!run.fs.IsReadable(toc_page_path)) {
    return false;
  }
  PathParts toc_page = SplitPath(toc_page_path);
  bool rewritten = false;
  for (std::string_view entry :
       run.fs.ListFolder(toc_page.drive + toc_page.folder, MakePath("", "", "*", "htm*"))) {
    std::string name(CutTo(entry, kListedNameLimit));
    if (!run.names.ClaimName(name)) {
      continue;
    }
    if (IsTocPageName(name)) {
      continue;
    }
    run.console.Write((rewritten ? ", " : "\nOther topics -(") + name);
    rewritten = true;
    std::string path = MakePath(toc_page.drive, toc_page.folder, name, "");
    if (run.pages.IsFinished(path)) {
      continue;  // an index frame page written in its final form
    }
    // With breadcrumbs off the trail is never inserted, so its link is not made.
    std::string trail =
        run.settings.breadcrumbs ? MakeBreadLink(run, toc_page_path, name, 0) : std::string();
    ReplaceMarkerComponents(run, path, trail);
  }
  if (rewritten) {
    run.console.Write(")\n");
  }
  return rewritten;
}

}  // namespace quorva
