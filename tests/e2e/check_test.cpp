#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <nlohmann/json.hpp>

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"
#include "help_set/help_set_generator.h"
#include "platform/console.h"

namespace quorva {
namespace {

namespace stdfs = std::filesystem;

std::vector<std::string> DemoSwitches() {
  std::ifstream file(QUORVA_DEMO_SWITCHES);
  std::vector<std::string> switches;
  for (std::string word; file >> word;) {
    switches.push_back(word);
  }
  return switches;
}

// Every file below `folder` by its path there, with its bytes, its number and its time.
using FileState = std::tuple<std::string, std::uint64_t, stdfs::file_time_type>;
std::map<std::string, FileState> FolderState(const std::string& folder) {
  std::map<std::string, FileState> files;
  for (const auto& entry : stdfs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) {
      continue;
    }
    std::ifstream file(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::uint64_t number = 0;
#ifndef _WIN32
    struct stat info;
    if (::stat(entry.path().c_str(), &info) == 0) {
      number = info.st_ino;
    }
#endif
    files[stdfs::relative(entry.path(), folder).generic_string()] =
        FileState{bytes.str(), number, entry.last_write_time()};
  }
  return files;
}

// The sample help set with the demo's switches checks clean. A dry run over it prints what a
// real run over a copy prints, leaves every file as it was, and lists exactly the files the
// real run changes and creates.
TEST(CheckE2eTest, TheSampleChecksCleanAndADryRunOfItWritesNothing) {
  TempFolder dry;
  TempFolder real;
  stdfs::copy(QUORVA_SAMPLE_HELP, dry.Path(), stdfs::copy_options::recursive);
  stdfs::copy(QUORVA_SAMPLE_HELP, real.Path(), stdfs::copy_options::recursive);
  const auto before = FolderState(dry.Path());
  std::vector<std::string> arguments = {"setup/fsref.htm", "toc.htm"};
  for (const std::string& word : DemoSwitches()) {
    arguments.push_back(word);
  }
  const BinaryRun real_run = RunQuorvaBinary(arguments, real.Path());
  arguments.insert(arguments.begin() + 3, "--dry-run");
  arguments.push_back("--strict");
  const BinaryRun dry_run = RunQuorvaBinary(arguments, dry.Path());
  EXPECT_EQ(real_run.exit_code, 0);
  EXPECT_EQ(dry_run.exit_code, 0);
  EXPECT_EQ(FolderState(dry.Path()), before);
  ASSERT_EQ(dry_run.output.compare(0, real_run.output.size(), real_run.output), 0);

  std::string plan;
  std::string created;
  std::size_t changes = 0;
  std::size_t creations = 0;
  for (const auto& [name, state] : FolderState(real.Path())) {
    auto old = before.find(name);
    if (old == before.end()) {
      created += "Would create: " + name + "\n";
      ++creations;
    } else if (std::get<0>(old->second) != std::get<0>(state)) {
      plan += "Would change: " + name + "\n";
      ++changes;
    }
  }
  const std::string tail = std::string(dry_run.output, real_run.output.size());
  const std::string summary_head = "Check: no problems; ";
  ASSERT_EQ(tail.compare(0, summary_head.size(), summary_head), 0) << tail;
  EXPECT_EQ(tail.substr(tail.find('\n') + 1),
            plan + created + "Dry run: " + std::to_string(changes) + " files would change and " +
                std::to_string(creations) + " would be created; none was written.\n");
}

// A report whose name differs from a page's only in letter case is another file on Linux, and
// the page is checked and listed as any other; on Windows it is the page itself.
TEST(CheckE2eTest, AReportHidesOnlyThePageTheFileSystemTakesForIt) {
  TempFolder dir;
  dir.Write("fsref.htm", "<title></title><frame src=\"toc.htm\"><frame src=\"main.htm\">");
  dir.Write("help/index.htm", "<title>Help</title>");
  dir.Write("help/toc.htm", "<a href=\"a.htm\">A</a>");
  dir.Write("help/a.htm", "<title>A</title><BREAD>");
  dir.Write("help/r.htm", "<title>R</title>\n<a href=\"gone.htm\">G</a>");
  const BinaryRun check = RunQuorvaBinary(
      {"fsref.htm", "help/toc.htm", "--dry-run", "--report=help/R.htm"}, dir.Path());
  const BinaryRun plan = RunQuorvaBinary(
      {"fsref.htm", "help/toc.htm", "--dry-run", "--report=help/A.htm"}, dir.Path());
  EXPECT_EQ(check.exit_code, 0);
  EXPECT_EQ(plan.exit_code, 0);
#ifdef _WIN32
  const bool page_checked = false;
#else
  const bool page_checked = true;
#endif
  EXPECT_EQ(
      check.output.find("\nhelp/r.htm:1:1: unreachable: r.htm (nothing links it)\n"
                        "help/r.htm:2:10: broken-link: gone.htm (in a page nothing reaches)\n") !=
          std::string::npos,
      page_checked)
      << check.output;
  EXPECT_EQ(plan.output.find("\nWould change: help/a.htm\n") != std::string::npos, page_checked)
      << plan.output;
}

// The lines a run prints between "complete." and the check's causes or summary.
std::string FindingLines(const std::string& output) {
  const std::string complete = "\ncomplete.\n";
  const std::size_t start = output.find(complete);
  const std::size_t end = std::min(output.find("\nCauses:\n") + 1, output.find("Check: "));
  if (start == std::string::npos || end == std::string::npos || end < start + complete.size()) {
    return "<no check in the output>";
  }
  return output.substr(start + complete.size(), end - start - complete.size());
}

// The causes a JSON report gives: each finding belongs to exactly one, and each shared cause
// holds only findings of its own kind and target.
void ExpectCausesExplainEachFindingOnce(const nlohmann::json& report) {
  const nlohmann::json& findings = report["findings"];
  std::vector<int> explained(findings.size(), 0);
  for (const nlohmann::json& cause : report["causes"]) {
    const std::string kind = cause["kind"];
    EXPECT_EQ(cause["findings"], cause["findingIndexes"].size()) << cause;
    std::set<std::string> pages;
    for (std::size_t index : cause["findingIndexes"]) {
      ASSERT_LT(index, findings.size());
      ++explained[index];
      const nlohmann::json& finding = findings[index];
      pages.insert(finding["page"].get<std::string>());
      if (kind == "missing-file" || kind == "missing-toc-page") {
        EXPECT_TRUE(finding["kind"] == "broken-link" || finding["kind"] == "case-mismatch")
            << cause;
        EXPECT_EQ(finding["target"], cause["target"]) << cause;
      } else if (kind == "picture-without-alt") {
        EXPECT_EQ(finding["kind"], "missing-alt") << cause;
        EXPECT_EQ(finding["target"], cause["target"]) << cause;
      } else if (kind == "pages-nothing-reaches") {
        EXPECT_EQ(finding["level"], "warning") << finding;
      } else {
        EXPECT_EQ(cause["findings"], 1u) << cause;
        EXPECT_EQ(finding["kind"], kind) << cause;
      }
    }
    EXPECT_EQ(cause["pages"], pages.size()) << cause;
  }
  EXPECT_EQ(explained, std::vector<int>(findings.size(), 1));
}

// A generated set reports exactly the findings planted into it, at their places and levels, on
// the console and in the JSON report, and groups them by cause, a missing TOC page first; without
// planting, exactly its orphans, which are warnings. An ignore file takes the findings it names
// out of both, counts included.
TEST(CheckE2eTest, AGeneratedSetReportsExactlyWhatWasPlantedInIt) {
  for (Planting planting : {Planting::kEveryKind, Planting::kNone}) {
    TempFolder dir;
    const GeneratedHelpSet set = GenerateHelpSet(dir.Path(), 60, 5, planting);
    std::string expected;
    std::size_t unreachable = 0;
    std::size_t problems = 0;
    for (const PlantedFinding& finding : set.findings) {
      expected += FormatFindingLine(finding) + "\n";
      unreachable += finding.kind == "unreachable";
      problems += finding.level == "error";
    }
    EXPECT_EQ(unreachable,
              planting == Planting::kNone ? set.orphan_paths.size() : set.orphan_paths.size() + 3);
    const std::vector<std::string> arguments = {
        "../fsref.htm", "toc.htm", "-mm", "-p1panel1.txt", "-nf", "--strict", "--report=../r.json"};
    const BinaryRun run = RunQuorvaBinary(arguments, dir / "help");
    EXPECT_EQ(run.exit_code, planting == Planting::kNone ? 0 : 4);
    EXPECT_EQ(FindingLines(run.output), expected);

    const nlohmann::json report = nlohmann::json::parse(dir.Read("r.json"));
    EXPECT_EQ(report["counts"]["problems"], problems);
    EXPECT_EQ(report["counts"]["warnings"], set.findings.size() - problems);
    ASSERT_EQ(report["findings"].size(), set.findings.size());
    for (std::size_t i = 0; i < set.findings.size(); ++i) {
      const nlohmann::json& finding = report["findings"][i];
      const PlantedFinding& planted = set.findings[i];
      EXPECT_EQ(finding["kind"], planted.kind);
      EXPECT_EQ(finding["level"], planted.level) << planted.page << " " << planted.target;
      EXPECT_EQ(finding["page"], planted.page);
      EXPECT_EQ(finding["line"], planted.line);
      EXPECT_EQ(finding["column"], planted.column);
      EXPECT_EQ(finding["target"], planted.target);
    }
    ExpectCausesExplainEachFindingOnce(report);
    if (planting == Planting::kNone) {
      EXPECT_EQ(report["causes"].size(), 1u);
      EXPECT_EQ(report["causes"][0]["kind"], "pages-nothing-reaches");
      continue;
    }
    const nlohmann::json& first = report["causes"][0];
    EXPECT_EQ(first["kind"], "missing-toc-page");
    EXPECT_EQ(first["target"], "tocplanned.htm");
    // The missing TOC page first, whatever its size, then the biggest, ties by name (a finding
    // on its own by its page's); ten lines at most.
    const std::string causes =
        "\nCauses:\n"
        "  3 findings in 3 pages: missing TOC page tocplanned.htm\n"
        "  6 findings in 6 pages: pages nothing reaches\n"
        "  4 findings in 4 pages: missing file 100060.htm\n"
        "  2 findings in 2 pages: missing file scripts/planned.js\n"
        "  1 finding in 1 page: ../fsref.htm:7:1: frame-title: main.htm\n"
        "  1 finding in 1 page: 100002.htm:7:17: broken-anchor: 100003.htm#no-such-anchor\n"
        "  1 finding in 1 page: 100005.htm:3:5: missing-title: 100005.htm\n"
        "  1 finding in 1 page: 100006.htm:1:1: missing-title: 100006.htm\n"
        "  1 finding in 1 page: missing file 100007.HTM\n"
        "  1 finding in 1 page: missing file images/missing-1.png\n"
        "  " +
        std::string(kConsoleEllipsis) +
        " and 3 more causes.\n"
        "Check: 9 problems and 15 warnings in 17 pages; 139 pages and 593 links checked.\n";
    EXPECT_NE(run.output.find(causes), std::string::npos) << run.output;
  }
  TempFolder dir;
  const GeneratedHelpSet set = GenerateHelpSet(dir.Path(), 60, 5, Planting::kEveryKind);
  // The template's frame, the one finding outside the output folder, is accepted as any other.
  const PlantedFinding& accepted = set.findings.front();
  ASSERT_EQ(accepted.kind, "frame-title");
  dir.Write("accepted.txt",
            "# accepted\n" + accepted.kind + " " + accepted.page + " " + accepted.target + "\n");
  const BinaryRun run = RunQuorvaBinary({"../fsref.htm", "toc.htm", "-mm", "-p1panel1.txt", "-nf",
                                         "--ignore=../accepted.txt", "--report=../r.json"},
                                        dir / "help");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(FindingLines(run.output).find(FormatFindingLine(accepted)), std::string::npos);
  const nlohmann::json report = nlohmann::json::parse(dir.Read("r.json"));
  EXPECT_EQ(report["counts"]["warnings"].get<std::size_t>() +
                report["counts"]["problems"].get<std::size_t>(),
            set.findings.size() - 1);
  EXPECT_EQ(report["findings"].size(), set.findings.size() - 1);
}

}  // namespace
}  // namespace quorva
