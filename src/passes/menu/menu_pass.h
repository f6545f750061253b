#pragma once

#include <string>

#include "core/run_context.h"

namespace quorva {

// Builds the drop-down menu from the TOC tree into the run's menu text and writes it to the
// menu page, when one is named.
void BuildMenu(RunContext& run, const std::string& toc_page_path);

}  // namespace quorva
