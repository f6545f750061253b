#pragma once

#include <string>

#include "driver/run_settings.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace quorva {

// The last pass, when compression is on: every "*.htm*", then "*.php*", then "*.css" file of
// the TOC page's folder is rewritten without its redundant white space (style sheets also
// without comments), with one progress line per group that has files.
void CompressOutputFolder(FileSystem& fs, Console& console, const RunSettings& settings,
                          const std::string& toc_page_path);

}  // namespace quorva
