#pragma once

#include <string>

#include "core/run_context.h"

namespace quorva {

// The topic pass: every topic of the TOC tree is rewritten with its breadcrumb trail and its
// other markers replaced, then every page of the output folder that no TOC page listed.
void ModifyTopics(RunContext& run, const std::string& toc_page_path);

}  // namespace quorva
