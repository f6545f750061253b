#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/check_options.h"
#include "core/run_context.h"
#include "passes/check/check_pass.h"
#include "passes/check/ignore_list.h"
#include "platform/dry_run_file_system.h"
#include "platform/web_client.h"

namespace quorva {

// The files of the command line the check starts from.
struct CheckedPaths {
  std::string toc_page;
  std::string index_page;
  std::string frameset_template;
};

// What the check covers, from the command line.
CheckScope MakeCheckScope(const CheckOptions& options, IgnoreList ignore,
                          const CheckedPaths& paths);

// Finishes the check of the output folder after the passes (and with `open_web`, checks the web
// links), prints the findings, their causes and their summary and writes each report and the
// web cache to the disk (also in a dry run). Gives the exit code: 4 for problems under
// --strict, 3 for a report or the web cache not written, 0 otherwise.
int CheckAndReport(RunContext& run, OutputFolderCheck& check, const CheckOptions& options,
                   FileSystem& disk,
                   const std::function<std::unique_ptr<WebClient>()>& open_web = {});

// Lists what a dry run would have changed and created, but for the reports and the web cache,
// which are the run's output about the help and were written.
void PrintDryRunPlan(DryRunFileSystem& dry_run, const CheckOptions& options, Console& console);

}  // namespace quorva
