#pragma once

#include <string>
#include <string_view>

#include "core/run_context.h"

namespace quorva {

// The last pass, when compression is on: every "*.htm*", then "*.php*", then "*.css" file of
// the TOC page's folder is rewritten without its redundant white space (style sheets also
// without comments), with one progress line per group that has files. Files the run already
// wrote compressed are listed and left as they are.
void CompressOutputFolder(RunContext& run, const std::string& toc_page_path);

// Compresses a page's rewritten text at once when compression is on and the compression pass
// would apply the markup rules, and only them, to a file of that name; the caller remembers
// the file in the run's finished files once the bytes are on disk. The text may still have
// LF line ends: compressing drops every carriage return, so the compressed text is the same
// bytes that compressing the page as written in text mode gives.
bool CompressAtLastRewrite(const RunSettings& settings, std::string_view file_name,
                           std::string& text);

}  // namespace quorva
