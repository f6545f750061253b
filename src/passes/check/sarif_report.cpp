#include <cstddef>
#include <string>
#include <vector>

#include "passes/check/json_writer.h"
#include "passes/check/reports.h"

namespace quorva {

namespace {

// The web's kinds come last, and only where the web was asked, so that the other rules keep
// their indexes and a report without --web stays as it was.
void WriteRules(JsonWriter& json, bool web) {
  json.Key("rules");
  json.BeginArray();
  for (FindingKind kind : kFindingKinds) {
    if (IsWebKind(kind) && !web) {
      continue;
    }
    json.BeginObject();
    json.Field("id", KindName(kind));
    json.Key("shortDescription");
    json.BeginObject();
    json.Field("text", KindSummary(kind));
    json.EndObject();
    json.Key("defaultConfiguration");
    json.BeginObject();
    json.Field("level", LevelName(DefaultLevel(kind)));
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

// Results of one cause share a fingerprint, so that code review tools fold them.
void WriteSarifResult(JsonWriter& json, const Finding& finding, const std::string& cause) {
  json.BeginObject();
  json.Field("ruleId", KindName(finding.kind));
  json.Field("ruleIndex", FindRuleIndex(finding.kind));
  json.Field("level", LevelName(finding.level));
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
  json.Key("partialFingerprints");
  json.BeginObject();
  json.Field("cause/v1", cause);
  json.EndObject();
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
  WriteRules(json, result.web.has_value());
  json.EndObject();
  json.EndObject();
  json.Key("results");
  json.BeginArray();
  // A finding no cause explains is a cause of its own.
  std::vector<std::string> causes(result.findings.size());
  for (const Cause& cause : result.causes) {
    for (std::size_t index : cause.findings) {
      causes[index] = cause.detail;
    }
  }
  for (std::size_t i = 0; i < result.findings.size(); ++i) {
    const Finding& finding = result.findings[i];
    WriteSarifResult(json, finding, causes[i].empty() ? FormatFindingLine(finding) : causes[i]);
  }
  json.EndArray();
  json.EndObject();
  json.EndArray();
  json.EndObject();
  return json.Take();
}

}  // namespace quorva
