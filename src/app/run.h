#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/web_client.h"

namespace quorva {

// Makes the web client --web asks through; null where the machine lacks what it needs.
using WebOpener = std::function<std::unique_ptr<WebClient>()>;

// One whole run: the arguments after the program name in, the exit code out (0 done, 1 an
// error in the command line or the setup, 3 a fatal error inside a pass, 4 problems under
// --strict). `open_web` is called only for --web.
int RunQuorva(const std::vector<std::string>& arguments, FileSystem& fs, Console& console,
              const WebOpener& open_web = {});

}  // namespace quorva
