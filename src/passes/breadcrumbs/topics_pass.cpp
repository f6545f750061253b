#include "passes/breadcrumbs/topics_pass.h"

#include "passes/breadcrumbs/breadcrumb_walk.h"
#include "passes/breadcrumbs/other_topics.h"

namespace quorva {

void ModifyTopics(RunContext& run, const std::string& toc_page_path) {
  run.console.Write(run.settings.breadcrumbs ? "\n\n\nCreating Breadcrumbs and modifying topics.\n"
                                             : "\n\n\nModifying topics.\n");
  run.names.ReleaseListedNames();
  run.names.AddNavigationPageNames();
  ParseThisBreadToc(run, toc_page_path, "", 0);
  // The other topics are the pages the breadcrumb walk left unclaimed.
  ModifyOtherTopics(run, toc_page_path);
  run.names.ReleaseListedNames();
}

}  // namespace quorva
