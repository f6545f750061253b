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
  bool web = false;
  bool web_private = false;
  std::string web_cache;  // none when empty
  int web_timeout = 30;   // seconds

  // --strict, --report and --web ask for the check too.
  bool Checks() const { return check || strict || web || !reports.empty(); }
};

// True for an argument that is a long option ("--" first), which ApplyLongOption takes.
bool IsLongOption(const std::string& argument);

// Applies one long option; false when it is none the tool knows (or lacks its file name).
bool ApplyLongOption(const std::string& argument, CheckOptions& options);

}  // namespace quorva
