#pragma once

#include <string>

#include "driver/run_settings.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace quorva {

// What a switch needs besides the settings: files to read, the console for its messages, and
// the output folder that snippet names are relative to.
struct SwitchContext {
  FileSystem& fs;
  Console& console;
  std::string output_drive;
  std::string output_folder;
};

// Applies one command-line switch to the settings; false when it is not a legal switch.
bool ApplySwitch(const std::string& argument, RunSettings& settings, SwitchContext& context);

}  // namespace quorva
