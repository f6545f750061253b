#pragma once

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/file_system.h"

namespace quorva {

// One whole run: the arguments after the program name in, the exit code out (0 done, 1 an
// error in the command line or the setup, 3 a fatal error inside a pass).
int RunQuorva(const std::vector<std::string>& arguments, FileSystem& fs, Console& console);

}  // namespace quorva
