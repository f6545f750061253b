#include "passes/check/finding.h"

namespace quorva {

std::string_view KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::kBrokenLink:
      return "broken-link";
    case FindingKind::kCaseMismatch:
      return "case-mismatch";
    case FindingKind::kBrokenAnchor:
      return "broken-anchor";
    case FindingKind::kMarkerLeft:
      return "marker-left";
    case FindingKind::kUnreachable:
      return "unreachable";
    case FindingKind::kOutsideLink:
      return "outside-link";
  }
  return "";
}

std::string_view KindSummary(FindingKind kind) {
  switch (kind) {
    case FindingKind::kBrokenLink:
      return "The file the link names does not exist.";
    case FindingKind::kCaseMismatch:
      return "The file the link names exists only under other letter cases.";
    case FindingKind::kBrokenAnchor:
      return "The page the link leads to has no anchor of the fragment's name.";
    case FindingKind::kMarkerLeft:
      return "A marker of the tool is still in the page.";
    case FindingKind::kUnreachable:
      return "No chain of links reaches the page from the TOC page or the index page.";
    case FindingKind::kOutsideLink:
      return "The page links to a file outside the output folder, and was not written.";
  }
  return "";
}

std::string FormatFindingLine(const Finding& finding) {
  std::string line = finding.page + ":" + std::to_string(finding.line) + ":" +
                     std::to_string(finding.column) + ": " + std::string(KindName(finding.kind)) +
                     ": " + finding.target;
  if (!finding.reason.empty()) {
    line += " (" + finding.reason + ")";
  }
  return line;
}

std::string FormatFindingMessage(const Finding& finding) {
  std::string message(KindSummary(finding.kind));
  if (!finding.reason.empty()) {
    message.pop_back();
    message += ": " + finding.reason + ".";
  }
  return message;
}

std::size_t CheckResult::PagesWithFindings() const {
  std::size_t pages = 0;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    if (i == 0 || findings[i].page != findings[i - 1].page) {
      ++pages;
    }
  }
  return pages;
}

namespace {

std::string Count(std::size_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

std::string FormatCheckSummary(const CheckResult& result) {
  const std::string checked = Count(result.pages_checked, "page") + " and " +
                              Count(result.links_checked, "link") + " checked.";
  if (result.findings.empty()) {
    return "Check: no problems; " + checked;
  }
  return "Check: " + Count(result.findings.size(), "problem") + " in " +
         Count(result.PagesWithFindings(), "page") + "; " + checked;
}

}  // namespace quorva
