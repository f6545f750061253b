#pragma once

#include <string>

#include "passes/check/finding.h"
#include "platform/file_system.h"

namespace quorva {

// What every report says of the run besides its findings.
struct ReportHeader {
  std::string tool_name;
  std::string version;
  std::string output_folder;  // as the run names it
  std::string run_time;       // when the check ran, in UTC: "2026-12-09 21:40 UTC"
};

// The tool, the output folder, the counts and one object per finding.
std::string FormatJsonReport(const CheckResult& result, const ReportHeader& header);
// SARIF 2.1.0: one rule per kind, one result per finding.
std::string FormatSarifReport(const CheckResult& result, const ReportHeader& header);
// A page for an author to fix from: the folder's name, the run and its summary, counts by kind
// and level, the causes, and the findings grouped by page, each page a link, relative to the
// report's own folder, that opens it; filters by level and kind where script runs.
std::string FormatHtmlReport(const CheckResult& result, const ReportHeader& header,
                             const std::string& report_path, FileSystem& fs);

// The report for a file of that name: ".sarif" gives SARIF, ".htm" or ".html" a page, any
// other name JSON.
std::string FormatReportFor(const std::string& report_path, const CheckResult& result,
                            const ReportHeader& header, FileSystem& fs);

// A path as a URI reference: "/" between folders, and every byte but letters, digits and
// "-._~/" percent-encoded.
std::string FormatPathAsUri(const std::string& path);

}  // namespace quorva
