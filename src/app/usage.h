#pragma once

#include "platform/console.h"

namespace quorva {

// The usage screen as shown before the key wait, ending with its request for a key.
void PrintUsage(Console& console);
// The usage screen without that request and then the switch reference, for the help flags,
// which wait for nothing.
void PrintHelp(Console& console);
void PrintVersionBanner(Console& console);

}  // namespace quorva
