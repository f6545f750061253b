#pragma once

#include <string>

#include "core/run_context.h"

namespace quorva {

// Rewrites the pages of the output folder ("*.htm*") that no TOC page listed, each with its own
// first-level link as its whole trail. True when at least one page was rewritten.
bool ModifyOtherTopics(RunContext& run, const std::string& toc_page_path);

}  // namespace quorva
