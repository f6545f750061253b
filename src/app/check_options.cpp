#include "app/check_options.h"

namespace quorva {

namespace {

// The file name after "NAME=", or nothing when the argument is not that option or names none.
bool TakeValue(const std::string& argument, const std::string& name,
               std::vector<std::string>& values) {
  const std::string head = name + "=";
  if (argument.compare(0, head.size(), head) != 0 || argument.size() == head.size()) {
    return false;
  }
  values.push_back(argument.substr(head.size()));
  return true;
}

}  // namespace

bool IsLongOption(const std::string& argument) {
  return argument.compare(0, 2, "--") == 0;
}

bool ApplyLongOption(const std::string& argument, CheckOptions& options) {
  if (argument == "--check") {
    options.check = true;
  } else if (argument == "--dry-run") {
    options.dry_run = true;
  } else if (argument == "--strict") {
    options.strict = true;
  } else {
    return TakeValue(argument, "--report", options.reports) ||
           TakeValue(argument, "--ignore", options.ignore_files);
  }
  return true;
}

}  // namespace quorva
