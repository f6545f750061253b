#include "passes/check/causes.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_set>

#include "core/toc_page.h"
#include "platform/console.h"

namespace quorva {

namespace {

constexpr std::size_t kCausesShown = 10;

// A TOC page's name, as the TOC walk would enter it, beside the output TOC page.
bool NamesTocPage(const std::string& path) {
  return IsWholeLinkName(path) && IsTocPageName(path) && HasPageExtension(path);
}

CauseKind CauseKindOf(const Finding& finding) {
  const bool names_file =
      finding.kind == FindingKind::kBrokenLink || finding.kind == FindingKind::kCaseMismatch;
  if (names_file && !finding.subject.empty()) {
    return NamesTocPage(finding.subject) ? CauseKind::kMissingTocPage : CauseKind::kMissingFile;
  }
  if (finding.kind == FindingKind::kMissingAlt && !finding.subject.empty()) {
    return CauseKind::kPictureWithoutAlt;
  }
  if (IsWebKind(finding.kind)) {
    return CauseKind::kWebAddress;
  }
  if (finding.kind == FindingKind::kUnreachable || finding.in_unreachable_page) {
    return CauseKind::kUnreachablePages;
  }
  return CauseKind::kOne;
}

std::string DescribeCause(CauseKind kind, const Finding& finding) {
  switch (kind) {
    case CauseKind::kMissingTocPage:
      return "missing TOC page " + finding.subject;
    case CauseKind::kMissingFile:
      return "missing file " + finding.subject;
    case CauseKind::kPictureWithoutAlt:
      return "picture " + finding.subject + " without alt text";
    case CauseKind::kWebAddress:
      return "web address " + finding.subject;
    case CauseKind::kUnreachablePages:
      return "pages nothing reaches";
    case CauseKind::kOne:
      break;
  }
  return finding.page + ":" + std::to_string(finding.line) + ":" + std::to_string(finding.column) +
         ": " + std::string(KindName(finding.kind)) + ": " + finding.target;
}

}  // namespace

void GroupFindingsByCause(CheckResult& result) {
  std::vector<Cause>& causes = result.causes;
  causes.clear();
  std::map<std::pair<CauseKind, std::string>, std::size_t> shared;  // by kind and subject
  for (std::size_t i = 0; i < result.findings.size(); ++i) {
    const Finding& finding = result.findings[i];
    const CauseKind kind = CauseKindOf(finding);
    std::size_t cause = causes.size();
    if (kind != CauseKind::kOne) {
      cause = shared.emplace(std::make_pair(kind, finding.subject), causes.size()).first->second;
    }
    if (cause == causes.size()) {
      Cause& added = causes.emplace_back();
      added.kind = kind;
      added.target = kind == CauseKind::kOne ? finding.target : finding.subject;
      added.detail = DescribeCause(kind, finding);
    }
    causes[cause].findings.push_back(i);
  }
  for (Cause& cause : causes) {
    std::unordered_set<std::string> pages;
    for (std::size_t i : cause.findings) {
      pages.insert(result.findings[i].page);
    }
    cause.pages = pages.size();
  }
  // Ties go by name: a shared cause's detail, a single finding's page and then its place.
  const std::vector<Finding>& findings = result.findings;
  auto order = [&findings](const Cause& cause) {
    const std::size_t first = cause.findings.front();
    const std::string& name = cause.kind == CauseKind::kOne ? findings[first].page : cause.detail;
    return std::make_tuple(cause.kind != CauseKind::kMissingTocPage, ~cause.findings.size(),
                           std::cref(name), first);
  };
  std::sort(causes.begin(), causes.end(),
            [&order](const Cause& a, const Cause& b) { return order(a) < order(b); });
}

std::string FormatCausesBlock(const CheckResult& result) {
  if (result.causes.empty()) {
    return "";
  }
  std::string block = "Causes:\n";
  const std::size_t shown = std::min(result.causes.size(), kCausesShown);
  for (std::size_t i = 0; i < shown; ++i) {
    const Cause& cause = result.causes[i];
    block += "  " + CountOf(cause.findings.size(), "finding") + " in " +
             CountOf(cause.pages, "page") + ": " + cause.detail + "\n";
  }
  if (result.causes.size() > shown) {
    block += "  " + std::string(kConsoleEllipsis) + " and " +
             CountOf(result.causes.size() - shown, "more cause") + ".\n";
  }
  return block;
}

}  // namespace quorva
