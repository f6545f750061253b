#pragma once

#include <string>

#include "driver/name_list.h"
#include "driver/run_settings.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace quorva {

// The state a pass works with, owned by the run and handed to each pass explicitly.
struct RunContext {
  FileSystem& fs;
  Console& console;
  const RunSettings& settings;
  NameList& names;
};

}  // namespace quorva
