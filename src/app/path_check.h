#pragma once

#include <string>

#include "platform/console.h"

namespace quorva {

// True when the path fits the platform's limit; otherwise prints one line naming it, since a
// longer path is refused rather than cut into the name of another file.
bool IsPathWithinLimit(const std::string& path, Console& console);

}  // namespace quorva
