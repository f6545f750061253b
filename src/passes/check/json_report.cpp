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
  json.Field("problems", result.Problems());
  json.Field("pagesWithProblems", result.PagesWithProblems());
  json.Field("warnings", result.Warnings());
  json.Field("pagesWithFindings", result.PagesWithFindings());
  json.Field("pagesChecked", result.pages_checked);
  json.Field("linksChecked", result.links_checked);
  if (result.web) {
    const WebSummary& web = *result.web;
    json.Key("web");
    json.BeginObject();
    json.Field("addresses", web.addresses);
    json.Field("fine", web.fine);
    json.Field("broken", web.broken);
    json.Field("moved", web.moved);
    json.Field("unverified", web.unverified);
    json.Field("notAsked", web.not_asked);
    json.Field("asked", web.asked);
    json.Field("fromCache", web.from_cache);
    json.EndObject();
  }
  json.EndObject();
  json.Key("findings");
  json.BeginArray();
  for (const Finding& finding : result.findings) {
    json.BeginObject();
    json.Field("kind", KindName(finding.kind));
    json.Field("level", LevelName(finding.level));
    json.Field("page", finding.page);
    json.Field("line", finding.line);
    json.Field("column", finding.column);
    json.Field("target", finding.target);
    json.Field("message", FormatFindingMessage(finding));
    if (IsWebKind(finding.kind)) {
      json.Key("status");
      if (finding.status == 0) {
        json.Null();
      } else {
        json.Number(static_cast<std::size_t>(finding.status));
      }
      json.Key("url");
      if (finding.moved_to.empty()) {
        json.Null();
      } else {
        json.String(finding.moved_to);
      }
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("causes");
  json.BeginArray();
  for (const Cause& cause : result.causes) {
    json.BeginObject();
    json.Field("kind", CauseKindName(cause, result.findings));
    json.Field("target", cause.target);
    json.Field("detail", cause.detail);
    json.Field("findings", cause.findings.size());
    json.Field("pages", cause.pages);
    json.Key("findingIndexes");
    json.BeginArray();
    for (std::size_t index : cause.findings) {
      json.Number(index);
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Take();
}

}  // namespace quorva
