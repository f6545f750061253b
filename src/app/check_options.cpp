#include "app/check_options.h"

#include <algorithm>

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

// Whole seconds from 1 to 600 after "--web-timeout=", and nothing else.
bool TakeWebTimeout(const std::string& argument, int& seconds) {
  const std::string head = "--web-timeout=";
  const std::string value = argument.substr(std::min(head.size(), argument.size()));
  if (argument.compare(0, head.size(), head) != 0 || value.empty() || value.size() > 3 ||
      value.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const int parsed = std::stoi(value);
  if (parsed < 1 || parsed > 600) {
    return false;
  }
  seconds = parsed;
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
  } else if (argument == "--web") {
    options.web = true;
  } else if (argument == "--web-private") {
    options.web_private = true;
  } else {
    std::vector<std::string> cache;
    if (TakeValue(argument, "--web-cache", cache)) {
      options.web_cache = cache.back();
      return true;
    }
    return TakeValue(argument, "--report", options.reports) ||
           TakeValue(argument, "--ignore", options.ignore_files) ||
           TakeWebTimeout(argument, options.web_timeout);
  }
  return true;
}

}  // namespace quorva
