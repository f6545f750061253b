#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/web_client.h"

namespace quorva {

// The web as --web reaches it: whether the machine has what it needs (asked before the passes,
// cheaply), and the client, made only when an address must be asked (null where it cannot be).
struct WebAccess {
  std::function<bool()> available;
  std::function<std::unique_ptr<WebClient>()> open;
};

// One whole run: the arguments after the program name in, the exit code out (0 done, 1 an
// error in the command line or the setup, 3 a fatal error inside a pass, 4 problems under
// --strict). `web` is used only for --web.
int RunQuorva(const std::vector<std::string>& arguments, FileSystem& fs, Console& console,
              const WebAccess& web = {});

}  // namespace quorva
