#pragma once

#include <string_view>

#include "core/run_settings.h"

namespace quorva {

// True when rewriting `text` as a topic could replace a marker under the run's settings:
// "<MENU>", "<BREAD>", "<PANELx>" or "<FILENAME>" in any letter case, each while its switch is
// on. A text for which this is false comes out of the rewriting with the same characters, so a
// page without one can be written in its final form before the topics are rewritten.
bool MayHoldActiveMarker(const RunSettings& settings, std::string_view text);

}  // namespace quorva
