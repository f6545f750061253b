#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "e2e/binary_runner.h"
#include "fakes/temp_folder.h"

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

  std::string plan = "\n";
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
  const std::string summary_head = "\nCheck: no problems; ";
  ASSERT_EQ(tail.compare(0, summary_head.size(), summary_head), 0) << tail;
  EXPECT_EQ(tail.substr(tail.find('\n', 1) + 1),
            plan + created + "Dry run: " + std::to_string(changes) + " files would change and " +
                std::to_string(creations) + " would be created; none was written.\n");
}

}  // namespace
}  // namespace quorva
