#pragma once

#include <string>

#include "core/run_context.h"

namespace quorva {

// Rewrites every topic reached from a TOC page, depth first: each topic's trail is the parent
// trail followed by its own link, and a nested TOC page is walked, one level deeper, with the
// trail of the topic its link precedes.
void ParseThisBreadToc(RunContext& run, const std::string& toc_page_path,
                       const std::string& parent_trail, int depth);

}  // namespace quorva
