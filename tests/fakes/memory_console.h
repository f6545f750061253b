#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"

namespace quorva {

// Records what a run prints and how often it waits for a key.
class MemoryConsole : public Console {
 public:
  void Write(std::string_view bytes) override { output.append(bytes); }
  void WaitForKey() override { ++key_waits; }
  void ShowProgress(std::string_view line) override { progress.emplace_back(line); }

  std::string output;
  int key_waits = 0;
  std::vector<std::string> progress;  // lines shown in place, as a terminal would show them
};

}  // namespace quorva
