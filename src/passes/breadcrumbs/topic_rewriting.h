#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/run_context.h"

namespace quorva {

constexpr std::size_t kBreadLinkLimit = 770;
constexpr std::size_t kTrailLimit = 32764;

// The breadcrumb link of one topic, which lies in the folder of the TOC page it was reached
// through. Level 0 is a first-level link: no separator and no line end unless the separator is
// asked for at the first level. Empty when the TOC page cannot be read.
std::string MakeBreadLink(RunContext& run, const std::string& toc_page_path, std::string topic_name,
                          int level);

// Rewrites a topic file with its markers replaced: the first two "<MENU>" and "<BREAD>", every
// "<PANEL1>".."<PANEL9>" and "<PANEL:>", every "<FILENAME>", letters in any case. Markers are
// matched on the output as it grows, so inserted text takes part in the checks after it. False
// when the file cannot be read.
bool ReplaceMarkerComponents(RunContext& run, const std::string& topic_path,
                             const std::string& trail);

}  // namespace quorva
