#pragma once

#include "platform/console.h"

namespace quorva {

// Standard output and the keyboard; implemented once per platform.
class RealConsole : public Console {
 public:
  RealConsole();
  ~RealConsole() override;
  void Write(std::string_view bytes) override;
  void WaitForKey() override;
};

}  // namespace quorva
