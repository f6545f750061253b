#include "passes/check/report_link.h"

#include <optional>
#include <vector>

#include "passes/check/reports.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

bool SameSegment(const std::string& a, const std::string& b, FileSystem& fs) {
  return fs.IgnoresLetterCase() ? FoldAsciiCase(a) == FoldAsciiCase(b) : a == b;
}

}  // namespace

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

}  // namespace quorva
