#pragma once

#include <string_view>

namespace quorva {

// The console seam: every message of the tool goes to standard output through it.
class Console {
 public:
  virtual ~Console() = default;
  virtual void Write(std::string_view bytes) = 0;
  // Waits for one key press, read without echo and discarded; returns at once when standard
  // input is not an interactive terminal, so scripts and CI never block.
  virtual void WaitForKey() = 0;
  // Shows a line of progress in place of the last one, where a person watches standard output;
  // an empty line takes it away. Nothing at all where output goes to a file or a pipe.
  virtual void ShowProgress(std::string_view /*line*/) {}
};

// The box-drawing corner that heads each TOC page's progress line: byte 192 in the Windows
// console's code page, the same character in UTF-8 elsewhere.
#ifdef _WIN32
inline constexpr std::string_view kConsoleCorner = "\xC0";
#else
inline constexpr std::string_view kConsoleCorner = "\xE2\x94\x94";
#endif

// The ellipsis of "… and K more": the Windows console's code page has none, so three full stops
// there.
#ifdef _WIN32
inline constexpr std::string_view kConsoleEllipsis = "...";
#else
inline constexpr std::string_view kConsoleEllipsis = "\xE2\x80\xA6";
#endif

}  // namespace quorva
