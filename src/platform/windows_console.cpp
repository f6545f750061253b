#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/real_console.h"

namespace quorva {

namespace {

// True only for a real console: _isatty is also true for the NUL device, which would make a
// run with its input redirected from NUL wait for a key that never comes.
bool IsConsole(DWORD standard_handle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(standard_handle), &mode) != 0;
}

}  // namespace

RealConsole::RealConsole() : terminal_(IsConsole(STD_OUTPUT_HANDLE)) {
  // Text mode: every "\n" reaches the console or a redirected file as CR LF.
  _setmode(_fileno(stdout), _O_TEXT);
  // A run writes a line per TOC page and a name per topic: buffer it unless a person watches.
  if (!terminal_) {
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
  }
}

void RealConsole::WaitForKey() {
  std::fflush(stdout);
  if (!IsConsole(STD_INPUT_HANDLE)) {
    return;
  }
  // A function or arrow key arrives as two codes; both are read so the next wait still waits.
  int key = _getch();
  if (key == 0 || key == 0xE0) {
    _getch();
  }
}

}  // namespace quorva
