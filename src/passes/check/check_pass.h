#pragma once

#include <string>
#include <vector>

#include "core/run_context.h"
#include "passes/check/finding.h"
#include "passes/check/ignore_list.h"
#include "passes/check/page_digest.h"
#include "passes/check/web_check.h"

namespace quorva {

// Where the check looks, and what it leaves out.
struct CheckScope {
  std::string folder;      // the output folder as the run names it ("" or ending in a separator)
  std::string toc_page;    // the output TOC page
  std::string index_page;  // index.htm beside it
  // The frameset template as the command line names it: the index frame pages' frames are
  // reported there.
  std::string frameset_template;
  // Files the check never reads: the run's reports, which are not part of the help.
  std::vector<std::string> excluded;
  IgnoreList ignore;
  // With --web: takes the pages' web links and asks about them once the folder is checked.
  WebCheck* web = nullptr;
};

// Checks the output folder as the passes left it: every page of the folder itself named
// *.htm*, *.php* or *.css, its links, anchors and leftover markers, which pages the TOC page and
// the index page reach, and the pages the run refused to write through a link. A page the run
// wrote is taken from `written`, which digested it as it went to disk, without reading it again.
// With a web check in the scope, its findings join the others.
CheckResult CheckOutputFolder(RunContext& run, const CheckScope& scope, PageDigests& written);

}  // namespace quorva
