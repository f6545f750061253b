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

// True when the Windows build runs under Wine, which looks up a name missing from a folder by
// reading the whole folder: every new file costs time in proportion to the folder's size.
bool RunsUnderWine();

}  // namespace quorva
