#include "passes/check/json_writer.h"
#include "passes/check/reports.h"

namespace quorva {

std::string FormatJsonReport(const CheckResult& result, const ReportHeader& header) {
  JsonWriter json;
  json.BeginObject();
  json.Key("tool");
  json.BeginObject();
  json.Field("name", header.tool_name);
  json.Field("version", header.version);
  json.EndObject();
  json.Field("outputFolder", header.output_folder);
  json.Key("counts");
  json.BeginObject();
  json.Field("problems", result.findings.size());
  json.Field("pagesWithProblems", result.PagesWithFindings());
  json.Field("pagesChecked", result.pages_checked);
  json.Field("linksChecked", result.links_checked);
  json.EndObject();
  json.Key("findings");
  json.BeginArray();
  for (const Finding& finding : result.findings) {
    json.BeginObject();
    json.Field("kind", KindName(finding.kind));
    json.Field("page", finding.page);
    json.Field("line", finding.line);
    json.Field("column", finding.column);
    json.Field("target", finding.target);
    json.Field("message", FormatFindingMessage(finding));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Take();
}

}  // namespace quorva
