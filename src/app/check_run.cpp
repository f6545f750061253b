#include "app/check_run.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <random>
#include <unordered_set>
#include <utility>

#include "app/version.h"
#include "core/fatal_error.h"
#include "passes/check/causes.h"
#include "passes/check/check_pass.h"
#include "passes/check/reports.h"
#include "passes/check/web_check.h"
#include "text/path.h"
#include "text/utc_time.h"

namespace quorva {

namespace {

constexpr int kExitFindings = 4;

std::string FormatFileCount(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " file" : " files");
}

// "2026-12-09 21:40 UTC", from the stamp the web cache writes too.
std::string FormatUtcTime(std::chrono::system_clock::time_point when) {
  const std::string stamp = FormatUtcStamp(
      std::chrono::duration_cast<std::chrono::seconds>(when.time_since_epoch()).count());
  return stamp.substr(0, 10) + " " + stamp.substr(11, 5) + " UTC";
}

WebAskLimits WebLimitsOf(const CheckOptions& options) {
  WebAskLimits limits;
  limits.timeout_seconds = options.web_timeout;
  limits.ask_private = options.web_private;
  return limits;
}

// Retries and the cache's age limits are spread at random; the progress line shows only on a
// terminal.
WebAskContext MakeWebAskContext(std::chrono::system_clock::time_point now, Console& console) {
  WebAskContext context;
  auto engine = std::make_shared<std::mt19937>(std::random_device{}());
  context.random = [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
  context.now_utc =
      std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
  context.progress = [&console](std::size_t done, std::size_t total) {
    console.ShowProgress("Web: " + FormatCount(done) + " of " + FormatCount(total) +
                         " addresses asked");
  };
  return context;
}

// What earlier runs learned; a cache that cannot be read or taken is started afresh, never a
// reason to stop the run.
void ReadWebCache(const std::string& path, FileSystem& disk, WebCheck& web, Console& console) {
  if (path.empty()) {
    return;
  }
  std::string problem;
  if (std::optional<std::string> text = disk.ReadBinary(path)) {
    problem = web.UseCache(*text);
  } else if (disk.FileLength(path)) {
    problem = "it cannot be read";
  }
  if (!problem.empty()) {
    console.Write("Warning: Web cache (" + path + ") not read: " + problem + ".\n");
  }
}

}  // namespace

CheckScope MakeCheckScope(const CheckOptions& options, IgnoreList ignore,
                          const CheckedPaths& paths) {
  const PathParts parts = SplitPath(paths.toc_page);
  return CheckScope{parts.drive + parts.folder, paths.toc_page,  paths.index_page,
                    paths.frameset_template,    options.reports, std::move(ignore)};
}

int CheckAndReport(RunContext& run, OutputFolderCheck& check, const CheckOptions& options,
                   FileSystem& disk, const std::function<std::unique_ptr<WebClient>()>& open_web) {
  const CheckScope& scope = check.Scope();
  const auto now = std::chrono::system_clock::now();
  const std::string run_time = FormatUtcTime(now);
  std::optional<WebCheck> web_check;
  if (options.web && open_web) {
    web_check.emplace(open_web, WebLimitsOf(options), MakeWebAskContext(now, run.console));
    ReadWebCache(options.web_cache, disk, *web_check, run.console);
  }
  const CheckResult result = check.Finish(web_check ? &*web_check : nullptr);
  run.console.ShowProgress("");
  // Where the loader found libcurl but could not load it, the check learned nothing of the web.
  if (web_check && web_check->Unavailable()) {
    run.console.Write("\nError: --web needs libcurl (Debian and Ubuntu: libcurl4).\n");
    return kExitSetupError;
  }
  for (const Finding& finding : result.findings) {
    run.console.Write(FormatFindingLine(finding) + "\n");
  }
  run.console.Write(FormatCausesBlock(result));
  run.console.Write(FormatCheckSummary(result) + "\n");
  if (result.web) {
    run.console.Write(FormatWebSummary(*result.web) + "\n");
  }

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
  const std::optional<std::string> cache =
      web_check && !options.web_cache.empty() ? web_check->CacheToWrite() : std::nullopt;
  if (cache && !report_writes.Write(options.web_cache, *cache, LinkReach::kAnywhere)) {
    run.console.Write("\nError: Web cache (" + options.web_cache + ") not written.\n");
    all_written = false;
  }
  if (!all_written) {
    return kExitFatal;
  }
  return options.strict && result.Problems() != 0 ? kExitFindings : kExitDone;
}

void PrintDryRunPlan(DryRunFileSystem& dry_run, const CheckOptions& options, Console& console) {
  std::unordered_set<std::string> written;
  for (const std::string& report : options.reports) {
    written.insert(MakeComparablePath(dry_run, report));
  }
  if (options.web && !options.web_cache.empty()) {
    written.insert(MakeComparablePath(dry_run, options.web_cache));
  }
  DryRunFileSystem::Plan plan = dry_run.PlannedChanges();
  for (std::vector<std::string_view>* paths : {&plan.changed, &plan.created}) {
    paths->erase(std::remove_if(paths->begin(), paths->end(),
                                [&](std::string_view path) {
                                  return !written.empty() && written.count(MakeComparablePath(
                                                                 dry_run, std::string(path))) != 0;
                                }),
                 paths->end());
  }
  for (std::string_view path : plan.changed) {
    console.Write("Would change: " + std::string(path) + "\n");
  }
  for (std::string_view path : plan.created) {
    console.Write("Would create: " + std::string(path) + "\n");
  }
  console.Write("Dry run: " + FormatFileCount(plan.changed.size()) + " would change and " +
                std::to_string(plan.created.size()) + " would be created; none was written.\n");
}

}  // namespace quorva
