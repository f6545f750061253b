#pragma once

#include <string_view>

#include "core/run_settings.h"

namespace quorva {

// The markers a topic's rewriting replaces, matched in any letter case. A snippet marker is
// kSnippetMarkerHead, a slot character ("1" to "9", or ":") and ">".
inline constexpr std::string_view kMenuMarker = "<MENU>";
inline constexpr std::string_view kBreadMarker = "<BREAD>";
inline constexpr std::string_view kSnippetMarkerHead = "<PANEL";
inline constexpr std::string_view kFileNameMarker = "<FILENAME>";

// True when rewriting `text` as a topic could replace a marker under the run's settings, each
// marker while its switch is on. A text for which this is false comes out of the rewriting with the
// same characters, so a page without one can be written in its final form before the topics are
// rewritten.
bool MayHoldActiveMarker(const RunSettings& settings, std::string_view text);

}  // namespace quorva
