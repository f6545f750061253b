#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "passes/check/html_report_assets.h"
#include "passes/check/report_link.h"
#include "passes/check/reports.h"
#include "text/path.h"
#include "text/utf8.h"

namespace quorva {

namespace {

constexpr std::size_t kCausesOpen = 10;

struct LevelCounts {
  std::size_t problems = 0;
  std::size_t warnings = 0;
};
using KindCounts = std::array<LevelCounts, kFindingKinds.size()>;

std::string EscapeHtml(std::string_view text) {
  std::string out;
  for (char c : MakeValidUtf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// An author reads of problems, not of the "error" that SARIF and JSON name the level.
std::string_view LevelLabel(FindingLevel level) {
  return level == FindingLevel::kProblem ? "problem" : "warning";
}

// The folder's own name, also where the run names it "." or "".
std::string NameOfFolder(const std::string& folder, FileSystem& fs) {
  const std::string absolute = fs.AbsolutePath(folder);
  const std::optional<std::vector<std::string>> segments = FoldPathSegments(absolute);
  return segments && !segments->empty() ? segments->back() : absolute;
}

KindCounts CountByKind(const std::vector<Finding>& findings) {
  KindCounts counts;
  for (const Finding& finding : findings) {
    LevelCounts& kind = counts[static_cast<std::size_t>(finding.kind)];
    ++(finding.level == FindingLevel::kProblem ? kind.problems : kind.warnings);
  }
  return counts;
}

std::string CountCell(std::size_t count) {
  return std::string(count == 0 ? "<td class=\"n zero\">" : "<td class=\"n\">") +
         FormatCount(count) + "</td>";
}

std::string FormatCountsTable(const CheckResult& result, const KindCounts& counts) {
  std::string html =
      "<section>\n<h2>Counts by kind</h2>\n<table class=\"counts\">\n<thead><tr><th>Kind</th>"
      "<th class=\"n\">Problems</th><th class=\"n\">Warnings</th></tr></thead>\n<tbody>\n";
  for (FindingKind kind : kFindingKinds) {
    const LevelCounts& count = counts[static_cast<std::size_t>(kind)];
    if (count.problems + count.warnings != 0) {
      html += "<tr><th scope=\"row\"><code>" + std::string(KindName(kind)) +
              "</code><span class=\"about\">" + std::string(KindSummary(kind)) + "</span></th>" +
              CountCell(count.problems) + CountCell(count.warnings) + "</tr>\n";
    }
  }
  return html + "</tbody>\n<tfoot><tr><th scope=\"row\">All kinds</th>" +
         CountCell(result.Problems()) + CountCell(result.Warnings()) +
         "</tr></tfoot>\n</table>\n</section>\n";
}

std::string FormatCause(const Cause& cause) {
  return "<li><strong>" + CountOf(cause.findings.size(), "finding") + "</strong> in " +
         CountOf(cause.pages, "page") + ": " + EscapeHtml(cause.detail) + "</li>\n";
}

// Every cause, the first ten open and the rest one click away.
std::string FormatCauses(const std::vector<Cause>& causes) {
  std::string html =
      "<section>\n<h2>Causes</h2>\n<p class=\"note\">What one fix would clear, the biggest "
      "first.</p>\n<ol class=\"causes\">\n";
  for (std::size_t i = 0; i < causes.size(); ++i) {
    if (i == kCausesOpen) {
      html += "</ol>\n<details>\n<summary>" + CountOf(causes.size() - i, "more cause") +
              "</summary>\n<ol class=\"causes\" start=\"" + std::to_string(i + 1) + "\">\n";
    }
    html += FormatCause(causes[i]);
  }
  return html + (causes.size() > kCausesOpen ? "</ol>\n</details>\n" : "</ol>\n") + "</section>\n";
}

std::string FormatFilter(std::string_view name, std::string_view value, std::string_view label,
                         std::size_t count) {
  return "<label><input type=\"checkbox\" name=\"" + std::string(name) + "\" value=\"" +
         std::string(value) + "\" checked> " + std::string(label) + " <span class=\"zero\">(" +
         FormatCount(count) + ")</span></label>\n";
}

// Hidden until the script shows it, so a page without script shows every finding and no
// control that does nothing.
std::string FormatFilters(const CheckResult& result, const KindCounts& counts) {
  std::string html = "<form class=\"filters\" hidden>\n<fieldset><legend>Show</legend>\n";
  if (result.Problems() != 0) {
    html +=
        FormatFilter("level", LevelLabel(FindingLevel::kProblem), "problems", result.Problems());
  }
  if (result.Warnings() != 0) {
    html +=
        FormatFilter("level", LevelLabel(FindingLevel::kWarning), "warnings", result.Warnings());
  }
  html += "</fieldset>\n<fieldset><legend>Kinds</legend>\n";
  for (FindingKind kind : kFindingKinds) {
    const LevelCounts& count = counts[static_cast<std::size_t>(kind)];
    if (count.problems + count.warnings != 0) {
      html += FormatFilter("kind", KindName(kind), KindName(kind), count.problems + count.warnings);
    }
  }
  return html + "</fieldset>\n<p class=\"shown\" aria-live=\"polite\"></p>\n</form>\n";
}

std::string FormatFindingRow(const Finding& finding, const std::string& link) {
  const std::string_view level = LevelLabel(finding.level);
  const std::string kind(KindName(finding.kind));
  return "<tr data-level=\"" + std::string(level) + "\" data-kind=\"" + kind +
         "\"><td class=\"n line\"><a href=\"" + link + "\">" + std::to_string(finding.line) +
         "</a></td><td class=\"n column\">" + std::to_string(finding.column) +
         "</td><td class=\"kind\"><code>" + kind + "</code></td><td><span class=\"pill " +
         std::string(level) + "\">" + std::string(level) +
         "</span></td><td class=\"target\"><code>" + EscapeHtml(finding.target) +
         "</code></td><td class=\"message\">" + EscapeHtml(FormatFindingMessage(finding)) +
         "</td></tr>\n";
}

// A page's heading and table: `first` and `end` bound its findings.
std::string FormatPage(const std::vector<Finding>& findings, std::size_t first, std::size_t end,
                       const std::string& link) {
  std::string html = "<section class=\"page\">\n<h3><a href=\"" + link + "\">" +
                     EscapeHtml(findings[first].page) + "</a> <span class=\"count\">" +
                     CountOf(end - first, "finding") +
                     "</span></h3>\n<table class=\"findings\">\n<thead><tr>"
                     "<th class=\"n line\">Line</th><th class=\"n column\">Col</th>"
                     "<th class=\"kind\">Kind</th><th class=\"level\">Level</th>"
                     "<th class=\"target\">Link or marker</th><th>Message</th></tr></thead>\n"
                     "<tbody>\n";
  for (std::size_t i = first; i < end; ++i) {
    html += FormatFindingRow(findings[i], link);
  }
  return html + "</tbody>\n</table>\n</section>\n";
}

std::string FormatFindingsByPage(const CheckResult& result, const KindCounts& counts,
                                 const std::string& report_path, FileSystem& fs) {
  const std::vector<Finding>& findings = result.findings;
  std::string html = "<section>\n<h2>Findings by page</h2>\n" + FormatFilters(result, counts);
  std::size_t first = 0;
  for (std::size_t i = 1; i <= findings.size(); ++i) {
    if (i == findings.size() || findings[i].page != findings[first].page) {
      html += FormatPage(findings, first, i,
                         EscapeHtml(MakeLinkFromReport(report_path, findings[first].page, fs)));
      first = i;
    }
  }
  return html + "</section>\n";
}

}  // namespace

std::string FormatHtmlReport(const CheckResult& result, const ReportHeader& header,
                             const std::string& report_path, FileSystem& fs) {
  const std::string folder = EscapeHtml(NameOfFolder(header.output_folder, fs));
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      EscapeHtml(header.tool_name) + " check of " + folder + "</title>\n<style>\n" +
      kHtmlReportStyle + "</style>\n</head>\n<body>\n<header>\n<h1>Check of " + folder +
      "</h1>\n<p class=\"run\">" + EscapeHtml(header.tool_name + " " + header.version) +
      " &middot; " + EscapeHtml(header.run_time) + "</p>\n<p class=\"summary\">" +
      EscapeHtml(FormatCheckSummary(result)) +
      // The web's line goes under the check's, in the same box.
      (result.web ? "<br>" + EscapeHtml(FormatWebSummary(*result.web)) : "") + "</p>\n</header>\n";
  if (!result.findings.empty()) {
    const KindCounts counts = CountByKind(result.findings);
    html += "<main>\n" + FormatCountsTable(result, counts) + FormatCauses(result.causes) +
            FormatFindingsByPage(result, counts, report_path, fs) + "</main>\n<script>\n" +
            kHtmlReportScript + "</script>\n";
  }
  return html + "</body>\n</html>\n";
}

}  // namespace quorva
