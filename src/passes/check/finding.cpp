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
    case FindingKind::kMissingTitle:
      return "missing-title";
    case FindingKind::kMissingAlt:
      return "missing-alt";
    case FindingKind::kFrameTitle:
      return "frame-title";
    case FindingKind::kUnreadTocName:
      return "unread-toc-name";
    case FindingKind::kWebBroken:
      return "web-broken";
    case FindingKind::kWebMoved:
      return "web-moved";
    case FindingKind::kWebUnverified:
      return "web-unverified";
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
    case FindingKind::kMissingTitle:
      return "The page has no title, or only white space in it.";
    case FindingKind::kMissingAlt:
      return "The picture has no alt text for readers who cannot see it.";
    case FindingKind::kFrameTitle:
      return "The frame has no title for screen readers to announce.";
    case FindingKind::kUnreadTocName:
      return "The TOC scan cannot read the page's name whole, so the page gets no index frame "
             "page and no breadcrumb trail.";
    case FindingKind::kWebBroken:
      return "The web address does not lead to a page.";
    case FindingKind::kWebMoved:
      return "The web address has moved for good; the link should name where it leads now.";
    case FindingKind::kWebUnverified:
      return "The web address did not say whether it leads to a page.";
  }
  return "";
}

FindingLevel DefaultLevel(FindingKind kind) {
  switch (kind) {
    case FindingKind::kUnreachable:
    case FindingKind::kMissingTitle:
    case FindingKind::kMissingAlt:
    case FindingKind::kFrameTitle:
    case FindingKind::kUnreadTocName:
    case FindingKind::kWebMoved:
    case FindingKind::kWebUnverified:
      return FindingLevel::kWarning;
    default:
      return FindingLevel::kProblem;
  }
}

bool IsWebKind(FindingKind kind) {
  return kind == FindingKind::kWebBroken || kind == FindingKind::kWebMoved ||
         kind == FindingKind::kWebUnverified;
}

std::string_view LevelName(FindingLevel level) {
  return level == FindingLevel::kProblem ? "error" : "warning";
}

void Finding::AddReason(std::string_view text) {
  if (!reason.empty()) {
    reason += "; ";
  }
  reason += text;
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

std::string CauseKindName(const Cause& cause, const std::vector<Finding>& findings) {
  switch (cause.kind) {
    case CauseKind::kMissingTocPage:
      return "missing-toc-page";
    case CauseKind::kMissingFile:
      return "missing-file";
    case CauseKind::kPictureWithoutAlt:
      return "picture-without-alt";
    case CauseKind::kWebAddress:
      return "web-address";
    case CauseKind::kUnreachablePages:
      return "pages-nothing-reaches";
    case CauseKind::kOne:
      break;
  }
  return std::string(KindName(findings[cause.findings.front()].kind));
}

namespace {

template <typename Counts>
std::size_t CountPages(const std::vector<Finding>& findings, Counts counts) {
  std::size_t pages = 0;
  bool counted = false;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    if (i == 0 || findings[i].page != findings[i - 1].page) {
      counted = false;
    }
    if (!counted && counts(findings[i])) {
      counted = true;
      ++pages;
    }
  }
  return pages;
}

bool IsProblem(const Finding& finding) {
  return finding.level == FindingLevel::kProblem;
}

}  // namespace

std::size_t CheckResult::Problems() const {
  std::size_t problems = 0;
  for (const Finding& finding : findings) {
    problems += IsProblem(finding);
  }
  return problems;
}

std::size_t CheckResult::Warnings() const {
  return findings.size() - Problems();
}

std::size_t CheckResult::PagesWithFindings() const {
  return CountPages(findings, [](const Finding&) { return true; });
}

std::size_t CheckResult::PagesWithProblems() const {
  return CountPages(findings, IsProblem);
}

std::string FormatCount(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, ",");
  }
  return digits;
}

std::string CountOf(std::size_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

std::string FormatCheckSummary(const CheckResult& result) {
  const std::string checked = CountOf(result.pages_checked, "page") + " and " +
                              CountOf(result.links_checked, "link") + " checked.";
  const std::size_t problems = result.Problems();
  const std::size_t warnings = result.Warnings();
  if (result.findings.empty()) {
    return "Check: no problems; " + checked;
  }
  std::string found = problems == 0 ? "no problems" : CountOf(problems, "problem");
  if (warnings != 0) {
    found += " and " + CountOf(warnings, "warning");
  }
  return "Check: " + found + " in " + CountOf(result.PagesWithFindings(), "page") + "; " + checked;
}

std::string FormatWebSummary(const WebSummary& web) {
  return "Web: " + FormatCount(web.addresses) +
         (web.addresses == 1 ? " address: " : " addresses: ") + FormatCount(web.fine) + " fine, " +
         FormatCount(web.broken) + " broken, " + FormatCount(web.moved) + " moved, " +
         FormatCount(web.unverified) + " unverified, " + FormatCount(web.not_asked) +
         " not asked; " + FormatCount(web.asked) + " asked, " + FormatCount(web.from_cache) +
         " from the cache.";
}

}  // namespace quorva
