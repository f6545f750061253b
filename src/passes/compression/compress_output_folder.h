#pragma once

#include <string>

#include "core/run_context.h"

namespace quorva {

// The last pass, when compression is on: every "*.htm*", then "*.php*", then "*.css" file of
// the TOC page's folder is rewritten without its redundant white space (style sheets also
// without comments), with one progress line per group that has files. Files the run already
// wrote compressed are listed and left as they are.
void CompressOutputFolder(RunContext& run, const std::string& toc_page_path);

}  // namespace quorva
