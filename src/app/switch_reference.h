#pragma once

#include "platform/console.h"

namespace quorva {

// Every switch and long option, one line each, grouped as the manual's switch tables group
// them, in at most 79 columns so that no console wraps a line.
void PrintSwitchReference(Console& console);

}  // namespace quorva
