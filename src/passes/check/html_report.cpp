#include <string>

#include "passes/check/report_link.h"
#include "passes/check/reports.h"
#include "text/utf8.h"

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
