#include <cstddef>

#include "passes/check/json_writer.h"
#include "passes/check/reports.h"

namespace quorva {

namespace {

void WriteRules(JsonWriter& json) {
  json.Key("rules");
  json.BeginArray();
  for (FindingKind kind : kFindingKinds) {
    json.BeginObject();
    json.Field("id", KindName(kind));
    json.Key("shortDescription");
    json.BeginObject();
    json.Field("text", KindSummary(kind));
    json.EndObject();
    json.EndObject();
  }
  json.EndArray();
}

std::size_t FindRuleIndex(FindingKind kind) {
  for (std::size_t i = 0; i < kFindingKinds.size(); ++i) {
    if (kFindingKinds[i] == kind) {
      return i;
    }
  }
  return 0;
}

void WriteSarifResult(JsonWriter& json, const Finding& finding) {
  json.BeginObject();
  json.Field("ruleId", KindName(finding.kind));
  json.Field("ruleIndex", FindRuleIndex(finding.kind));
  json.Field("level", "warning");
  json.Key("message");
  json.BeginObject();
  json.Field("text", FormatFindingMessage(finding) + " " + finding.target);
  json.EndObject();
  json.Key("locations");
  json.BeginArray();
  json.BeginObject();
  json.Key("physicalLocation");
  json.BeginObject();
  json.Key("artifactLocation");
  json.BeginObject();
  json.Field("uri", FormatPathAsUri(finding.page));
  json.EndObject();
  json.Key("region");
  json.BeginObject();
  json.Field("startLine", finding.line);
  json.Field("startColumn", finding.column);
  json.EndObject();
  json.EndObject();
  json.EndObject();
  json.EndArray();
  json.EndObject();
}

}  // namespace

std::string FormatSarifReport(const CheckResult& result, const ReportHeader& header) {
  JsonWriter json;
  json.BeginObject();
  json.Field("$schema", "https://json.schemastore.org/sarif-2.1.0.json");
  json.Field("version", "2.1.0");
  json.Key("runs");
  json.BeginArray();
  json.BeginObject();
  json.Key("tool");
  json.BeginObject();
  json.Key("driver");
  json.BeginObject();
  json.Field("name", header.tool_name);
  json.Field("version", header.version);
  WriteRules(json);
  json.EndObject();
  json.EndObject();
  json.Key("results");
  json.BeginArray();
  for (const Finding& finding : result.findings) {
    WriteSarifResult(json, finding);
  }
  json.EndArray();
  json.EndObject();
  json.EndArray();
  json.EndObject();
  return json.Take();
}

}  // namespace quorva
