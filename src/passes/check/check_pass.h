#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/run_context.h"
#include "core/written_page_listener.h"
#include "passes/check/finding.h"
#include "passes/check/ignore_list.h"
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
};

// Checks the output folder as the passes leave it: every page of the folder itself named
// *.htm*, *.php* or *.css, its links, anchors and leftover markers, which pages the TOC page and
// the index page reach, and the pages the run refused to write through a link.
//
// Made before the passes and told of every page they write, it scans each page as it goes to
// disk and keeps only what the end needs: the pages each page links, the anchors, and what
// cannot be decided before the last pass (a link to a file not there yet, a fragment, a marker
// and what depends on the TOC tree), so that no page's text or list of links stays in memory.
// Finish reads the pages no pass wrote.
class OutputFolderCheck : public WrittenPageListener {
 public:
  OutputFolderCheck(RunContext& run, CheckScope scope);
  ~OutputFolderCheck() override;
  OutputFolderCheck(const OutputFolderCheck&) = delete;
  OutputFolderCheck& operator=(const OutputFolderCheck&) = delete;

  void PageWritten(const std::string& path, std::string_view bytes) override;

  // Checks what is left once the passes are done. With a web check, the pages' web links are
  // asked about and its findings join the others.
  CheckResult Finish(WebCheck* web);

  const CheckScope& Scope() const { return scope_; }

 private:
  class State;
  CheckScope scope_;
  std::unique_ptr<State> state_;
};

}  // namespace quorva
