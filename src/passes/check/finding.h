#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

enum class FindingKind {
  kBrokenLink,
  kCaseMismatch,
  kBrokenAnchor,
  kMarkerLeft,
  kUnreachable,
  kOutsideLink
};

inline constexpr std::array<FindingKind, 6> kFindingKinds = {
    FindingKind::kBrokenLink, FindingKind::kCaseMismatch, FindingKind::kBrokenAnchor,
    FindingKind::kMarkerLeft, FindingKind::kUnreachable,  FindingKind::kOutsideLink};

// The kind's name as lines, reports and ignore files write it ("broken-link").
std::string_view KindName(FindingKind kind);
// What a finding of the kind means, in one sentence.
std::string_view KindSummary(FindingKind kind);

// One thing still wrong in the help, at its place in a page.
struct Finding {
  FindingKind kind = FindingKind::kBrokenLink;
  std::string page;  // the page's path as the run names it
  std::size_t offset = 0;
  std::size_t line = 1;
  std::size_t column = 1;
  std::string target;  // the link or marker as it stands, or the page's name
  std::string reason;  // why, where the run can tell; may be empty
};

// "PATH:LINE:COLUMN: KIND: TARGET (REASON)", as the console prints it.
std::string FormatFindingLine(const Finding& finding);
// The finding in a sentence, for the reports.
std::string FormatFindingMessage(const Finding& finding);

// What a check found, sorted by page and then by place.
struct CheckResult {
  std::vector<Finding> findings;
  std::size_t pages_checked = 0;
  std::size_t links_checked = 0;

  std::size_t PagesWithFindings() const;
};

// "Check: N problems in M pages; P pages and L links checked."
std::string FormatCheckSummary(const CheckResult& result);

}  // namespace quorva
