#pragma once

#include <string>

#include "core/run_settings.h"
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

// What became of a switch: applied (or ignored as the syntax allows), not a legal switch, or
// naming a path over the platform's limit (its message already printed); the last two end the
// run before any pass.
enum class SwitchResult { kApplied, kIllegal, kPathTooLong };

SwitchResult ApplySwitch(const std::string& argument, RunSettings& settings,
                         SwitchContext& context);

}  // namespace quorva
