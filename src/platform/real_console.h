#pragma once

#include <cstddef>

#include "platform/console.h"

namespace quorva {

// Standard output and the keyboard; implemented once per platform.
class RealConsole : public Console {
 public:
  RealConsole();
  ~RealConsole() override;
  void Write(std::string_view bytes) override;
  void WaitForKey() override;
  void ShowProgress(std::string_view line) override;

 private:
  bool terminal_ = false;  // standard output is a terminal
  std::size_t progress_width_ = 0;
};

}  // namespace quorva
