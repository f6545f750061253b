#include "platform/real_console.h"

#include <cstdio>
#include <string>

namespace quorva {

// Output is the same on every platform; Windows' standard output is in text mode, so its lines
// end in CR LF there.
RealConsole::~RealConsole() {
  std::fflush(stdout);
}

void RealConsole::Write(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Spaces over what the last line showed beyond this one: not every console knows escapes.
void RealConsole::ShowProgress(std::string_view line) {
  if (!terminal_ || (line.empty() && progress_width_ == 0)) {
    return;
  }
  std::string shown = "\r" + std::string(line);
  if (line.size() < progress_width_) {
    shown.append(progress_width_ - line.size(), ' ');
  }
  if (line.empty()) {
    shown += '\r';
  }
  progress_width_ = line.size();
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fflush(stdout);
}

}  // namespace quorva
