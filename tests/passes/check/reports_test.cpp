#include "passes/check/reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include <nlohmann/json.hpp>

#include "fakes/memory_file_system.h"
#include "passes/check/causes.h"
#include "platform/console.h"

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
  // The web's rules come only with --web.
  EXPECT_EQ(run["tool"]["driver"]["rules"].size(), kFindingKinds.size() - 3);
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

// The HTML report links each page relative to the report's own folder, from its heading and
// from each of its rows.
TEST(ReportsTest, HtmlReportLinksPagesFromTheReportsFolder) {
  MemoryFileSystem fs;
  const ReportHeader header{"QUORVA", "1.2", "help/", "2026-12-09 21:40 UTC"};
  const std::string beside =
      FormatHtmlReport(OneFinding("help/a b.htm", "<x>"), header, "reports/check.html", fs);
  EXPECT_NE(beside.find("<h3><a href=\"../help/a%20b.htm\">help/a b.htm</a> "), std::string::npos)
      << beside;
  EXPECT_NE(beside.find("<tr data-level=\"problem\" data-kind=\"case-mismatch\"><td "
                        "class=\"n line\"><a href=\"../help/a%20b.htm\">3</a></td><td "
                        "class=\"n column\">14</td><td class=\"kind\"><code>case-mismatch</code>"
                        "</td><td><span class=\"pill problem\">problem</span></td><td "
                        "class=\"target\"><code>&lt;x&gt;</code></td><td class=\"message\">The "
                        "file the link names exists only under other letter cases: the file is "
                        "x.htm.</td></tr>"),
            std::string::npos)
      << beside;
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
  const std::size_t a = headed.find(
      "<h3><a href=\"help/a.htm\">help/a.htm</a> <span "
      "class=\"count\">2 findings</span></h3>");
  const std::size_t b = headed.find(
      "<h3><a href=\"help/b.htm\">help/b.htm</a> <span "
      "class=\"count\">1 finding</span></h3>");
  ASSERT_NE(a, std::string::npos) << headed;
  ASSERT_NE(b, std::string::npos) << headed;
  const auto rows_between = [&headed](std::size_t from, std::size_t to) {
    std::size_t rows = 0;
    for (std::size_t at = headed.find("<tr data-level", from); at < to;
         at = headed.find("<tr data-level", at + 1)) {
      ++rows;
    }
    return rows;
  };
  EXPECT_EQ(rows_between(a, b), 2u);
  EXPECT_EQ(rows_between(b, std::string::npos), 1u);
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

// The HTML report opens with the folder's own name, the run and the console's summary, then
// counts by kind and level and every cause, the help's text escaped throughout.
TEST(ReportsTest, HtmlReportHeadsWithTheFolderThenCountsAndCauses) {
  MemoryFileSystem fs;  // its working folder is /work
  CheckResult result = OneFinding("help/<b>&\"c\".htm", "x<y>");
  Finding warning = result.findings[0];
  warning.kind = FindingKind::kMissingAlt;
  warning.level = FindingLevel::kWarning;
  warning.reason.clear();
  result.findings.push_back(warning);
  for (std::size_t i = 0; i < 12; ++i) {
    Cause& cause = result.causes.emplace_back();
    cause.detail = "missing file <" + std::to_string(i) + ">.htm";
    cause.findings = {0, 1};
    cause.pages = 1;
  }
  for (const char* folder : {".", ""}) {
    const std::string html = FormatHtmlReport(
        result, ReportHeader{"QUORVA", "1.2", folder, "2026-12-09 21:40 UTC"}, "r.htm", fs);
    EXPECT_NE(html.find("<title>QUORVA check of work</title>"), std::string::npos) << folder;
    EXPECT_NE(html.find("<h1>Check of work</h1>\n<p class=\"run\">QUORVA 1.2 &middot; "
                        "2026-12-09 21:40 UTC</p>\n<p class=\"summary\">Check: 1 problem and 1 "
                        "warning in 1 page; 2 pages and 5 links checked.</p>"),
              std::string::npos)
        << html;
  }
  const std::string html =
      FormatHtmlReport(result, ReportHeader{"QUORVA", "1.2", "a&b/help/", "t"}, "r.htm", fs);
  EXPECT_NE(html.find("<h1>Check of help</h1>"), std::string::npos) << html;
  EXPECT_NE(FormatHtmlReport(result, ReportHeader{"QUORVA", "1.2", "a&b/", "t"}, "r.htm", fs)
                .find("<h1>Check of a&amp;b</h1>"),
            std::string::npos);
  // A row for each kind found, none for the others, and the totals.
  EXPECT_NE(html.find("<tr><th scope=\"row\"><code>case-mismatch</code><span class=\"about\">"
                      "The file the link names exists only under other letter cases.</span></th>"
                      "<td class=\"n\">1</td><td class=\"n zero\">0</td></tr>\n<tr><th "
                      "scope=\"row\"><code>missing-alt</code>"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("<span class=\"about\">The picture has no alt text for readers who cannot "
                      "see it.</span></th><td class=\"n zero\">0</td><td class=\"n\">1</td>"),
            std::string::npos);
  EXPECT_EQ(html.find("<code>broken-link</code>"), std::string::npos);
  EXPECT_NE(html.find("<th scope=\"row\">All kinds</th><td class=\"n\">1</td><td "
                      "class=\"n\">1</td>"),
            std::string::npos);
  // Ten causes in view and the other two folded away, numbered on.
  EXPECT_NE(html.find("<li><strong>2 findings</strong> in 1 page: missing file &lt;9&gt;.htm</li>"
                      "\n</ol>\n<details>\n<summary>2 more causes</summary>\n<ol "
                      "class=\"causes\" start=\"11\">\n<li><strong>2 findings</strong> in 1 "
                      "page: missing file &lt;10&gt;.htm</li>"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("&lt;11&gt;.htm</li>\n</ol>\n</details>"), std::string::npos);
  EXPECT_NE(html.find(">help/&lt;b&gt;&amp;&quot;c&quot;.htm</a>"), std::string::npos);
  EXPECT_NE(html.find("<code>x&lt;y&gt;</code>"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  // A filter for each level and kind found, with its count; none for a level not found.
  EXPECT_NE(html.find("<input type=\"checkbox\" name=\"level\" value=\"problem\" checked> "
                      "problems <span class=\"zero\">(1)</span>"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("name=\"kind\" value=\"missing-alt\" checked>"), std::string::npos);
  result.findings.pop_back();
  EXPECT_EQ(FormatHtmlReport(result, ReportHeader{"Q", "1", ".", "t"}, "r.htm", fs)
                .find("value=\"warning\""),
            std::string::npos);
  // Without findings the summary says it all.
  const std::string clean =
      FormatHtmlReport(CheckResult{}, ReportHeader{"Q", "1", ".", "t"}, "r.htm", fs);
  EXPECT_NE(clean.find("<p class=\"summary\">Check: no problems; 0 pages and 0 links "
                       "checked.</p>\n</header>\n</body>"),
            std::string::npos)
      << clean;
}

// The summary counts in words, singular only for one.
// A web finding says in every report what the web answered and where a moved address leads
// now; the web's counts and rules come with it.
TEST(ReportsTest, WebFindingsCarryTheirStatusAndWhereTheyLead) {
  CheckResult result;
  for (const auto& [kind, status, moved_to] :
       {std::make_tuple(FindingKind::kWebMoved, 200, "https://new.example/"),
        std::make_tuple(FindingKind::kWebUnverified, 0, "")}) {
    Finding& finding = result.findings.emplace_back();
    finding.kind = kind;
    finding.level = DefaultLevel(kind);
    finding.page = "a.htm";
    finding.target = "http://old.example/";
    finding.subject = "http://old.example/";
    finding.status = status;
    finding.moved_to = moved_to;
  }
  result.web = WebSummary{3, 1, 0, 1, 1, 0, 2, 1};
  GroupFindingsByCause(result);
  const ReportHeader header{"QUORVA", "1.2", ".", ""};
  const nlohmann::json json = nlohmann::json::parse(FormatJsonReport(result, header));
  EXPECT_EQ(json["findings"][0]["status"], 200);
  EXPECT_EQ(json["findings"][0]["url"], "https://new.example/");
  EXPECT_TRUE(json["findings"][1]["status"].is_null());
  EXPECT_TRUE(json["findings"][1]["url"].is_null());
  EXPECT_EQ(json["counts"]["web"]["fromCache"], 1);
  EXPECT_EQ(json["counts"]["web"]["moved"], 1);
  ASSERT_EQ(json["causes"].size(), 1u);
  EXPECT_EQ(json["causes"][0]["kind"], "web-address");
  EXPECT_EQ(json["causes"][0]["detail"], "web address http://old.example/");
  EXPECT_EQ(json["causes"][0]["findings"], 2);

  const nlohmann::json sarif = nlohmann::json::parse(FormatSarifReport(result, header));
  const nlohmann::json& run = sarif["runs"][0];
  EXPECT_EQ(run["tool"]["driver"]["rules"].size(), kFindingKinds.size());
  EXPECT_EQ(run["results"][1]["level"], "warning");
  EXPECT_EQ(run["tool"]["driver"]["rules"][run["results"][1]["ruleIndex"].get<int>()]["id"],
            "web-unverified");
  MemoryFileSystem fs;
  EXPECT_NE(FormatHtmlReport(result, header, "report.htm", fs)
                .find("Web: 3 addresses: 1 fine, 0 broken, 1 moved, 1 unverified, 0 not asked; 2 "
                      "asked, 1 from the cache."),
            std::string::npos);
}

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
  // Warnings follow the problems where there are any; the pages are those with any finding.
  result.findings.push_back(OneFinding("c.htm", "w").findings[0]);
  result.findings.back().level = FindingLevel::kWarning;
  EXPECT_EQ(FormatCheckSummary(result),
            "Check: 3 problems and 1 warning in 3 pages; 2 pages and 2 links checked.");
  result.findings.push_back(OneFinding("c.htm", "v").findings[0]);
  result.findings.back().level = FindingLevel::kWarning;
  EXPECT_EQ(FormatCheckSummary(result),
            "Check: 3 problems and 2 warnings in 3 pages; 2 pages and 2 links checked.");
  result.findings.erase(result.findings.begin(), result.findings.begin() + 4);
  EXPECT_EQ(FormatCheckSummary(result),
            "Check: no problems and 1 warning in 1 page; 2 pages and 2 links checked.");
}

// Findings that one fix clears form one cause: every link to one missing file, from any page,
// pages nothing reaches included; a missing TOC page comes first whatever its size. Each report
// carries the levels and the causes; SARIF results of one cause share a fingerprint.
TEST(ReportsTest, LevelsAndCausesReachEveryReport) {
  CheckResult result;
  auto add = [&result](FindingKind kind, const std::string& page, const std::string& subject) {
    Finding& finding = result.findings.emplace_back();
    finding.kind = kind;
    finding.level = DefaultLevel(kind);
    finding.page = page;
    finding.target = subject.empty() ? page : "./" + subject;
    finding.subject = subject;
  };
  add(FindingKind::kBrokenLink, "a.htm", "gone.js");
  add(FindingKind::kBrokenLink, "a.htm", "toc9.htm");
  add(FindingKind::kMissingAlt, "a.htm", "p.gif");
  add(FindingKind::kBrokenLink, "b.htm", "gone.js");
  add(FindingKind::kCaseMismatch, "c.htm", "gone.js");
  add(FindingKind::kUnreachable, "c.htm", "");
  add(FindingKind::kMarkerLeft, "c.htm", "");
  result.findings.back().in_unreachable_page = true;
  result.findings.back().level = FindingLevel::kWarning;
  for (int i = 0; i < 8; ++i) {
    add(FindingKind::kBrokenAnchor, "d.htm", "");
    result.findings.back().line = static_cast<std::size_t>(i + 1);
  }
  // A name the TOC scan would cut is no TOC page a walk could enter.
  add(FindingKind::kBrokenLink, "e.htm", "toc-old.htm");
  GroupFindingsByCause(result);
  const std::string causes = FormatCausesBlock(result);
  EXPECT_EQ(causes.substr(0, causes.find("  1 finding in 1 page: d.htm:2:")),
            "Causes:\n"
            "  1 finding in 1 page: missing TOC page toc9.htm\n"
            "  3 findings in 3 pages: missing file gone.js\n"
            "  2 findings in 1 page: pages nothing reaches\n"
            "  1 finding in 1 page: d.htm:1:1: broken-anchor: d.htm\n");
  EXPECT_EQ(causes.substr(causes.rfind("\n  ") + 1),
            "  " + std::string(kConsoleEllipsis) + " and 3 more causes.\n");
  EXPECT_EQ(std::count(causes.begin(), causes.end(), '\n'), 12);
  result.causes.resize(11);
  EXPECT_EQ(FormatCausesBlock(result).substr(FormatCausesBlock(result).rfind("\n  ") + 1),
            "  " + std::string(kConsoleEllipsis) + " and 1 more cause.\n");
  GroupFindingsByCause(result);

  const ReportHeader header{"QUORVA", "1.2", "help/", ""};
  const nlohmann::json json = nlohmann::json::parse(FormatJsonReport(result, header));
  EXPECT_EQ(json["counts"]["problems"], 13);
  EXPECT_EQ(json["counts"]["warnings"], 3);
  EXPECT_EQ(json["counts"]["pagesWithProblems"], 5);
  EXPECT_EQ(json["counts"]["pagesWithFindings"], 5);
  EXPECT_EQ(json["findings"][5]["level"], "warning");
  EXPECT_EQ(json["findings"][6]["level"], "warning");
  EXPECT_EQ(json["findings"][0]["level"], "error");
  const nlohmann::json& missing = json["causes"][1];
  EXPECT_EQ(missing["kind"], "missing-file");
  EXPECT_EQ(missing["target"], "gone.js");
  EXPECT_EQ(missing["findings"], 3);
  EXPECT_EQ(missing["pages"], 3);
  EXPECT_EQ(missing["findingIndexes"], nlohmann::json::parse("[0, 3, 4]"));
  EXPECT_EQ(json["causes"][0]["kind"], "missing-toc-page");
  // Ties go by name: a finding on its own by its page's.
  EXPECT_EQ(json["causes"][3]["kind"], "broken-anchor");
  EXPECT_EQ(json["causes"][11]["detail"], "missing file toc-old.htm");
  EXPECT_EQ(json["causes"][12]["kind"], "picture-without-alt");

  const nlohmann::json sarif = nlohmann::json::parse(FormatSarifReport(result, header));
  const nlohmann::json& run = sarif["runs"][0];
  const nlohmann::json& results = run["results"];
  EXPECT_EQ(results[0]["level"], "error");
  EXPECT_EQ(results[6]["level"], "warning");
  EXPECT_EQ(results[0]["partialFingerprints"], results[3]["partialFingerprints"]);
  EXPECT_EQ(results[0]["partialFingerprints"], results[4]["partialFingerprints"]);
  EXPECT_NE(results[7]["partialFingerprints"], results[8]["partialFingerprints"]);
  // One rule for each of the ten kinds.
  std::set<std::string> rule_ids;
  for (const nlohmann::json& rule : run["tool"]["driver"]["rules"]) {
    rule_ids.insert(rule["id"].get<std::string>());
  }
  EXPECT_EQ(rule_ids.size(), 10u);
  EXPECT_EQ(run["tool"]["driver"]["rules"].size(), 10u);
  for (const nlohmann::json& rule : run["tool"]["driver"]["rules"]) {
    const bool problem = rule["id"] == "broken-link" || rule["id"] == "case-mismatch" ||
                         rule["id"] == "broken-anchor" || rule["id"] == "marker-left" ||
                         rule["id"] == "outside-link";
    EXPECT_EQ(rule["defaultConfiguration"]["level"], problem ? "error" : "warning") << rule;
  }
}

}  // namespace
}  // namespace quorva
