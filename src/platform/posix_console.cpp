#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "platform/real_console.h"

namespace quorva {

RealConsole::RealConsole() : terminal_(::isatty(STDOUT_FILENO) != 0) {
  // A run writes a line per TOC page and a name per topic: buffer it unless a person watches.
  if (!terminal_) {
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
  }
}

void RealConsole::WaitForKey() {
  std::fflush(stdout);
  termios saved;
  if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved) != 0) {
    return;
  }
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  char key;
  if (::read(STDIN_FILENO, &key, 1) < 0) {
    // Nothing to do: the key is discarded either way.
  }
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace quorva
