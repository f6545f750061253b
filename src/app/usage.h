#pragma once

#include "platform/console.h"

namespace quorva {

void PrintUsage(Console& console);
void PrintVersionBanner(Console& console);

}  // namespace quorva
