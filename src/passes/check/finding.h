#pragma once

#include <array>
#include <cstddef>
#include <optional>
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
  kOutsideLink,
  kMissingTitle,
  kMissingAlt,
  kFrameTitle,
  kUnreadTocName,
  kWebBroken,
  kWebMoved,
  kWebUnverified
};

inline constexpr std::array<FindingKind, 13> kFindingKinds = {
    FindingKind::kBrokenLink,    FindingKind::kCaseMismatch, FindingKind::kBrokenAnchor,
    FindingKind::kMarkerLeft,    FindingKind::kUnreachable,  FindingKind::kOutsideLink,
    FindingKind::kMissingTitle,  FindingKind::kMissingAlt,   FindingKind::kFrameTitle,
    FindingKind::kUnreadTocName, FindingKind::kWebBroken,    FindingKind::kWebMoved,
    FindingKind::kWebUnverified};

// The kinds only --web finds.
bool IsWebKind(FindingKind kind);

// Problems are what is broken for a reader today; warnings what an author should look at.
enum class FindingLevel { kProblem, kWarning };

// The kind's name as lines, reports and ignore files write it ("broken-link").
std::string_view KindName(FindingKind kind);
// What a finding of the kind means, in one sentence.
std::string_view KindSummary(FindingKind kind);
// The level of a finding of the kind in a page a reader can reach.
FindingLevel DefaultLevel(FindingKind kind);
// The level as SARIF and the JSON report name it: "error" or "warning".
std::string_view LevelName(FindingLevel level);

// One thing still wrong in the help, at its place in a page.
struct Finding {
  FindingKind kind = FindingKind::kBrokenLink;
  FindingLevel level = FindingLevel::kProblem;
  std::string page;  // the page's path as the run names it
  std::size_t offset = 0;
  std::size_t line = 1;
  std::size_t column = 1;
  std::string target;  // the link or marker as it stands, or the page's name
  std::string reason;  // why, where the run can tell, reasons joined by "; "; may be empty
  // What the finding has in common with others of its cause: for a broken link the file it
  // names, below the output folder; for a picture without alt text its picture. May be empty.
  std::string subject;
  bool in_unreachable_page = false;
  // Of a web finding: the last HTTP status (0 where none came), and where a moved address now
  // leads.
  int status = 0;
  std::string moved_to;

  void AddReason(std::string_view text);
};

// "PATH:LINE:COLUMN: KIND: TARGET (REASON)", as the console prints it.
std::string FormatFindingLine(const Finding& finding);
// The finding in a sentence, for the reports.
std::string FormatFindingMessage(const Finding& finding);

// Findings that one fix would clear: a missing file, a picture without alt text, the pages
// nothing reaches, or a finding on its own.
enum class CauseKind {
  kMissingTocPage,
  kMissingFile,
  kPictureWithoutAlt,
  kWebAddress,
  kUnreachablePages,
  kOne
};

struct Cause {
  CauseKind kind = CauseKind::kOne;
  std::string target;  // the missing file or the picture; the finding's target for one alone
  std::string detail;  // what the Causes block says of it
  std::vector<std::size_t> findings;  // indexes into the result's findings, ascending
  std::size_t pages = 0;              // pages with any of them
};

// The name the JSON report gives the cause's kind; a finding on its own gives its own kind's.
std::string CauseKindName(const Cause& cause, const std::vector<Finding>& findings);

// What --web found of the distinct addresses the pages link: each fine, broken, moved,
// unverified or not asked; and how many of those it asked were asked this run.
struct WebSummary {
  std::size_t addresses = 0;
  std::size_t fine = 0;
  std::size_t broken = 0;
  std::size_t moved = 0;
  std::size_t unverified = 0;
  std::size_t not_asked = 0;
  std::size_t asked = 0;
  std::size_t from_cache = 0;
};

// What a check found, sorted by page and then by place, and the causes that explain it.
struct CheckResult {
  std::vector<Finding> findings;
  std::vector<Cause> causes;
  std::size_t pages_checked = 0;
  std::size_t links_checked = 0;
  std::optional<WebSummary> web;  // with --web

  std::size_t Problems() const;
  std::size_t Warnings() const;
  std::size_t PagesWithFindings() const;
  std::size_t PagesWithProblems() const;
};

// "Check: N problems and W warnings in M pages; P pages and L links checked.", or "Check: no
// problems; ..." with the warnings after "no problems" where there are any.
std::string FormatCheckSummary(const CheckResult& result);
// "Web: 152 addresses: 120 fine, 14 broken, 9 moved, 5 unverified, 4 not asked; 96 asked, 52
// from the cache."
std::string FormatWebSummary(const WebSummary& web);

// "N" with a comma between each group of three digits: "1,867".
std::string FormatCount(std::size_t count);
// "1 page", "2 pages".
std::string CountOf(std::size_t count, std::string_view noun);

}  // namespace quorva
