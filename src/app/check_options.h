#pragma once

#include <string>
#include <vector>

namespace quorva {

// The long options, which no switch of the passes has: what the run does besides them.
struct CheckOptions {
  bool check = false;
  bool dry_run = false;
  bool strict = false;
  std::vector<std::string> reports;
  std::vector<std::string> ignore_files;

  // --strict and --report ask for the check too.
  bool Checks() const { return check || strict || !reports.empty(); }
};

// True for an argument that is a long option ("--" first), which ApplyLongOption takes.
bool IsLongOption(const std::string& argument);

// Applies one long option; false when it is none the tool knows (or lacks its file name).
bool ApplyLongOption(const std::string& argument, CheckOptions& options);

}  // namespace quorva
