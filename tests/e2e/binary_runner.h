#pragma once

#include <string>
#include <vector>

namespace quorva {

struct BinaryRun {
  std::string output;  // standard output, with Windows' CR LF and corner byte mapped
  int exit_code = -1;
};

// Runs the built quorva binary in `working_folder` with standard input closed, as a script or
// CI would, and collects what it prints.
BinaryRun RunQuorvaBinary(const std::vector<std::string>& arguments,
                          const std::string& working_folder);

}  // namespace quorva
