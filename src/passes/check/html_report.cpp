#include <optional>
#include <string>
#include <vector>

#include "passes/check/reports.h"
#include "text/path.h"
#include "text/utf8.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

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

bool SameSegment(const std::string& a, const std::string& b, FileSystem& fs) {
  return fs.IgnoresLetterCase() ? FoldAsciiCase(a) == FoldAsciiCase(b) : a == b;
}

// The link from the report's page to `page`, both named as the run names them.
std::string MakeLinkFromReport(const std::string& report_path, const std::string& page,
                               FileSystem& fs) {
  const std::string page_path = fs.AbsolutePath(page);
  std::optional<std::vector<std::string>> from_report =
      FoldPathSegments(fs.AbsolutePath(report_path));
  const std::optional<std::vector<std::string>> to_page = FoldPathSegments(page_path);
  if (!from_report || from_report->empty() || !to_page) {
    return FormatPathAsUri(page_path);
  }
  std::vector<std::string>& from = *from_report;
  const std::vector<std::string>& to = *to_page;
  from.pop_back();  // the report's own name
  std::size_t common = 0;
  while (common < from.size() && common < to.size() && SameSegment(from[common], to[common], fs)) {
    ++common;
  }
  if (common == 0 && page_path.size() > 1 && page_path[1] == ':') {
    return FormatPathAsUri(page_path);  // another drive
  }
  std::string link;
  for (std::size_t i = common; i < from.size(); ++i) {
    link += "../";
  }
  for (std::size_t i = common; i < to.size(); ++i) {
    link += to[i] + (i + 1 < to.size() ? "/" : "");
  }
  return FormatPathAsUri(link);
}

}  // namespace

std::string FormatHtmlReport(const CheckResult& result, const ReportHeader& header,
                             const std::string& report_path, FileSystem& fs) {
  const std::string title = EscapeHtml(header.tool_name + " check of " + header.output_folder);
  std::string html =
      "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
      "</title>\n<style>body{font-family:sans-serif}li{font-family:monospace}</style>\n"
      "</head>\n<body>\n<h1>" +
      title + "</h1>\n<p>" + EscapeHtml(FormatCheckSummary(result)) + "</p>\n";
  for (std::size_t i = 0; i < result.findings.size(); ++i) {
    const Finding& finding = result.findings[i];
    if (i == 0 || finding.page != result.findings[i - 1].page) {
      html += (i == 0 ? "" : "</ul>\n");
      html += "<h2><a href=\"" + EscapeHtml(MakeLinkFromReport(report_path, finding.page, fs)) +
              "\">" + EscapeHtml(finding.page) + "</a></h2>\n<ul>\n";
    }
    html += "<li>" + std::to_string(finding.line) + ":" + std::to_string(finding.column) + " " +
            std::string(KindName(finding.kind)) + ": " + EscapeHtml(finding.target) +
            (finding.reason.empty() ? "" : " (" + EscapeHtml(finding.reason) + ")") + "</li>\n";
  }
  html += result.findings.empty() ? "" : "</ul>\n";
  html += "</body>\n</html>\n";
  return html;
}

}  // namespace quorva
