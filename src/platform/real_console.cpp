#include "platform/real_console.h"

#include <cstdio>

namespace quorva {

// Output is the same on every platform; Windows' standard output is in text mode, so its lines
// end in CR LF there.
RealConsole::~RealConsole() {
  std::fflush(stdout);
}

void RealConsole::Write(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

}  // namespace quorva
