#pragma once

#include "platform/console.h"

namespace quorva {

constexpr const char* kFullVersion = "2.2.1.1175";

void PrintUsage(Console& console);
void PrintVersionBanner(Console& console);

}  // namespace quorva
