#pragma once

#include <string>
#include <string_view>

#include "platform/console.h"

namespace quorva {

// Records what a run prints and how often it waits for a key.
class MemoryConsole : public Console {
 public:
  void Write(std::string_view bytes) override { output.append(bytes); }
  void WaitForKey() override { ++key_waits; }

  std::string output;
  int key_waits = 0;
};

}  // namespace quorva
