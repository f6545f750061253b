#include "passes/check/reports.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fakes/memory_file_system.h"

namespace quorva {
namespace {

CheckResult OneFinding(const std::string& page, const std::string& target) {
  CheckResult result;
  Finding finding;
  finding.kind = FindingKind::kCaseMismatch;
  finding.page = page;
  finding.line = 3;
  finding.column = 14;
  finding.target = target;
  finding.reason = "the file is x.htm";
  result.findings.push_back(finding);
  result.pages_checked = 2;
  result.links_checked = 5;
  return result;
}

// Names and links that are not UTF-8 come out as the Latin-1 characters of their bytes, valid
// UTF-8 as it is, so every report parses; SARIF names the page as a URI.
TEST(ReportsTest, JsonAndSarifParseWhateverBytesThePagesHold) {
  // A surrogate's bytes are no UTF-8; the characters beside them are.
  const nlohmann::json bytes = nlohmann::json::parse(FormatJsonReport(
      OneFinding("\xE4\xB8\xAD\xED\xA0\x80\xED\x9F\xBF", "t"), ReportHeader{"Q", "1", ".", ""}));
  EXPECT_EQ(bytes["findings"][0]["page"], "\xE4\xB8\xAD\xC3\xAD\xC2\xA0\xC2\x80\xED\x9F\xBF");
  const ReportHeader header{"QUORVA", "1.2", "help/", ""};
  const CheckResult result = OneFinding("help/caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\\\"1\".htm",
                                        "x\xE9.HTM\x01\x1F\\y");
  const std::string text = FormatJsonReport(result, header);
  EXPECT_NE(text.find("\"x\xC3\xA9.HTM\\u0001\\u001f\\\\y\""), std::string::npos) << text;
  const nlohmann::json json = nlohmann::json::parse(text);
  EXPECT_EQ(json["tool"]["version"], "1.2");
  EXPECT_EQ(json["counts"]["pagesWithProblems"], 1);
  EXPECT_EQ(json["counts"]["linksChecked"], 5);
  const nlohmann::json& finding = json["findings"][0];
  EXPECT_EQ(finding["page"], "help/caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\\\"1\".htm");
  EXPECT_EQ(finding["target"], "x\xC3\xA9.HTM\x01\x1F\\y");
  EXPECT_EQ(finding["message"],
            "The file the link names exists only under other letter cases: the file is x.htm.");

  const nlohmann::json sarif = nlohmann::json::parse(FormatSarifReport(result, header));
  EXPECT_EQ(sarif["version"], "2.1.0");
  const nlohmann::json& run = sarif["runs"][0];
  EXPECT_EQ(run["tool"]["driver"]["rules"].size(), kFindingKinds.size());
  const nlohmann::json& sarif_result = run["results"][0];
  EXPECT_EQ(sarif_result["ruleId"], "case-mismatch");
  EXPECT_EQ(run["tool"]["driver"]["rules"][sarif_result["ruleIndex"].get<int>()]["id"],
            "case-mismatch");
  const nlohmann::json& location = sarif_result["locations"][0]["physicalLocation"];
  EXPECT_EQ(location["artifactLocation"]["uri"],
            "help/caf%C3%A9%20%E2%82%AC%20%F0%9F%98%80/%221%22.htm");
  EXPECT_EQ(FormatPathAsUri("C:\\help\\a b~09.htm"), "file:///C:/help/a%20b~09.htm");
  EXPECT_EQ(FormatPathAsUri("/work/x:y.htm"), "file:///work/x%3Ay.htm");
  EXPECT_EQ(location["region"]["startLine"], 3);
  EXPECT_EQ(location["region"]["startColumn"], 14);
}

// The HTML report links each page relative to the report's own folder.
TEST(ReportsTest, HtmlReportLinksPagesFromTheReportsFolder) {
  MemoryFileSystem fs;
  const ReportHeader header{"QUORVA", "1.2", "help/", ""};
  const std::string beside =
      FormatHtmlReport(OneFinding("help/a b.htm", "<x>"), header, "reports/check.html", fs);
  EXPECT_NE(beside.find("<h2><a href=\"../help/a%20b.htm\">help/a b.htm</a></h2>"),
            std::string::npos);
  EXPECT_NE(beside.find("<li>3:14 case-mismatch: &lt;x&gt; (the file is x.htm)</li>"),
            std::string::npos);
  const std::string inside =
      FormatHtmlReport(OneFinding("help/sub/../a.htm", "x"), header, "./help/check.htm", fs);
  EXPECT_NE(inside.find("<a href=\"a.htm\">"), std::string::npos);
  // A page on another drive is named by its whole path.
  const std::string drives =
      FormatHtmlReport(OneFinding("D:/help/a.htm", "x"), header, "D:/reports/check.htm", fs) +
      FormatHtmlReport(OneFinding("E:/help/a.htm", "x"), header, "D:/reports/check.htm", fs);
  EXPECT_NE(drives.find("<a href=\"../help/a.htm\">"), std::string::npos) << drives;
  EXPECT_NE(drives.find("<a href=\"file:///E:/help/a.htm\">"), std::string::npos) << drives;
  // Folders whose names differ in letter case are one folder only where the system says so.
  const CheckResult in_help = OneFinding("help/a.htm", "x");
  EXPECT_NE(
      FormatHtmlReport(in_help, header, "Help/check.htm", fs).find("<a href=\"../help/a.htm\">"),
      std::string::npos);
  fs.ignores_letter_case = true;
  EXPECT_NE(FormatHtmlReport(in_help, header, "Help/check.htm", fs).find("<a href=\"a.htm\">"),
            std::string::npos);
  fs.ignores_letter_case = false;
  // A page's findings stand under one heading.
  CheckResult two = OneFinding("help/a.htm", "x");
  two.findings.push_back(two.findings[0]);
  two.findings.push_back(OneFinding("help/b.htm", "y").findings[0]);
  const std::string headed = FormatHtmlReport(two, header, "check.htm", fs);
  EXPECT_NE(headed.find("<h2><a href=\"help/a.htm\">help/a.htm</a></h2>\n<ul>\n<li>3:14 "
                        "case-mismatch: x (the file is x.htm)</li>\n<li>3:14 case-mismatch: x "
                        "(the file is x.htm)</li>\n</ul>\n<h2><a href=\"help/b.htm\">"),
            std::string::npos)
      << headed;
  // The name's extension picks the format, letters without case.
  EXPECT_EQ(FormatReportFor("r.SARIF", OneFinding("a", "b"), header, fs).substr(0, 13),
            "{\n  \"$schema\"");
  for (const char* html : {"r.htm", "r.html", "R.HTML"}) {
    EXPECT_EQ(FormatReportFor(html, OneFinding("a", "b"), header, fs).substr(0, 15),
              "<!DOCTYPE html>")
        << html;
  }
  EXPECT_EQ(FormatReportFor("r.json", OneFinding("a", "b"), header, fs).substr(0, 11),
            "{\n  \"tool\":");
}

// The summary counts in words, singular only for one.
TEST(ReportsTest, TheSummaryCountsPagesLinksAndProblemsInWords) {
  CheckResult result;
  EXPECT_EQ(FormatCheckSummary(result), "Check: no problems; 0 pages and 0 links checked.");
  result = OneFinding("a.htm", "x");
  result.pages_checked = 1;
  result.links_checked = 1;
  EXPECT_EQ(FormatCheckSummary(result), "Check: 1 problem in 1 page; 1 page and 1 link checked.");
  result.findings.push_back(OneFinding("b.htm", "y").findings[0]);
  result.pages_checked = 2;
  result.links_checked = 2;
  EXPECT_EQ(FormatCheckSummary(result),
            "Check: 2 problems in 2 pages; 2 pages and 2 links checked.");
  result.findings.push_back(OneFinding("b.htm", "z").findings[0]);
  EXPECT_EQ(FormatCheckSummary(result),
            "Check: 3 problems in 2 pages; 2 pages and 2 links checked.");
}

}  // namespace
}  // namespace quorva
