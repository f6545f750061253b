#include "passes/check/json_writer.h"
#include "passes/check/reports.h"

namespace quorva {

std::string FormatJsonReport(const CheckResult& result, const ReportHeader& header) {
  JsonWriter json;
  json.BeginObject();
  json.Key("tool");
  json.BeginObject();
  json.Key("name");
  json.String(header.tool_name);
  json.Key("version");
  json.String(header.version);
  json.EndObject();
  json.Key("outputFolder");
  json.String(header.output_folder);
  json.Key("counts");
  json.BeginObject();
  json.Key("problems");
  json.Number(result.findings.size());
  json.Key("pagesWithProblems");
  json.Number(result.PagesWithFindings());
  json.Key("pagesChecked");
  json.Number(result.pages_checked);
  json.Key("linksChecked");
  json.Number(result.links_checked);
  json.EndObject();
  json.Key("findings");
  json.BeginArray();
  for (const Finding& finding : result.findings) {
    json.BeginObject();
    json.Key("kind");
    json.String(KindName(finding.kind));
    json.Key("page");
    json.String(finding.page);
    json.Key("line");
    json.Number(finding.line);
    json.Key("column");
    json.Number(finding.column);
    json.Key("target");
    json.String(finding.target);
    json.Key("message");
    json.String(FindingMessage(finding));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Take();
}

}  // namespace quorva
