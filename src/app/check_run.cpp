#include "app/check_run.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <unordered_set>
#include <utility>

#include "app/version.h"
#include "core/fatal_error.h"
#include "passes/check/causes.h"
#include "passes/check/check_pass.h"
#include "passes/check/reports.h"
#include "text/path.h"

namespace quorva {

namespace {

constexpr int kExitFindings = 4;

std::string FormatFileCount(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " file" : " files");
}

// "2026-12-09 21:40 UTC". The tool runs on one thread, so gmtime's shared result is safe.
std::string FormatUtcTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  char text[32];
  const std::tm* utc = std::gmtime(&seconds);
  if (utc == nullptr || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", utc) == 0) {
    return "";
  }
  return text;
}

}  // namespace

int CheckAndReport(RunContext& run, PageDigests& written, const CheckOptions& options,
                   IgnoreList ignore, const CheckedPaths& paths, FileSystem& disk) {
  const PathParts parts = SplitPath(paths.toc_page);
  CheckScope scope{parts.drive + parts.folder, paths.toc_page,  paths.index_page,
                   paths.frameset_template,    options.reports, std::move(ignore)};
  const std::string run_time = FormatUtcTime(std::chrono::system_clock::now());
  const CheckResult result = CheckOutputFolder(run, scope, written);
  for (const Finding& finding : result.findings) {
    run.console.Write(FormatFindingLine(finding) + "\n");
  }
  run.console.Write(FormatCausesBlock(result));
  run.console.Write(FormatCheckSummary(result) + "\n");

  // Reports are the run's output about the help, not part of it: a dry run writes them too.
  // The working folder is the output folder when the run names none.
  const ReportHeader header{"QUORVA", kFullVersion, scope.folder.empty() ? "." : scope.folder,
                            run_time};
  CheckedWrites report_writes(disk, run.console);
  bool all_written = true;
  for (const std::string& report : options.reports) {
    if (!report_writes.Write(report, FormatReportFor(report, result, header, disk),
                             LinkReach::kAnywhere)) {
      run.console.Write("\nError: Report (" + report + ") not written.\n");
      all_written = false;
    }
  }
  if (!all_written) {
    return kExitFatal;
  }
  return options.strict && result.Problems() != 0 ? kExitFindings : kExitDone;
}

void PrintDryRunPlan(DryRunFileSystem& dry_run, const std::vector<std::string>& reports,
                     Console& console) {
  std::unordered_set<std::string> written;
  for (const std::string& report : reports) {
    written.insert(MakeComparablePath(dry_run, report));
  }
  DryRunFileSystem::Plan plan = dry_run.PlannedChanges();
  for (std::vector<std::string>* paths : {&plan.changed, &plan.created}) {
    paths->erase(std::remove_if(paths->begin(), paths->end(),
                                [&](const std::string& path) {
                                  return written.count(MakeComparablePath(dry_run, path)) != 0;
                                }),
                 paths->end());
  }
  for (const std::string& path : plan.changed) {
    console.Write("Would change: " + path + "\n");
  }
  for (const std::string& path : plan.created) {
    console.Write("Would create: " + path + "\n");
  }
  console.Write("Dry run: " + FormatFileCount(plan.changed.size()) + " would change and " +
                std::to_string(plan.created.size()) + " would be created; none was written.\n");
}

}  // namespace quorva
