#include "passes/check/reports.h"

#include "text/wildcard.h"

namespace quorva {

std::string FormatPathAsUri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri;
  const bool drive = path.size() > 1 && path[1] == ':';
  if (drive || (!path.empty() && (path[0] == '/' || path[0] == '\\'))) {
    uri = drive ? "file:///" : "file://";
  }
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~' || byte == '/' || (drive && i == 1);
    if (byte == '\\') {
      uri += '/';
    } else if (plain) {
      uri += path[i];
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0xF];
    }
  }
  return uri;
}

std::string FormatReportFor(const std::string& report_path, const CheckResult& result,
                            const ReportHeader& header, FileSystem& fs) {
  if (MatchesWildcard(report_path, "*.sarif")) {
    return FormatSarifReport(result, header);
  }
  if (MatchesWildcard(report_path, "*.htm") || MatchesWildcard(report_path, "*.html")) {
    return FormatHtmlReport(result, header, report_path, fs);
  }
  return FormatJsonReport(result, header);
}

}  // namespace quorva
