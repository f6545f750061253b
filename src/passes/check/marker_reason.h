#pragma once

#include <string>
#include <string_view>

#include "core/run_settings.h"
#include "core/toc_tree_record.h"

namespace quorva {

// Why a marker is still in the page at `path`, as far as the run's settings tell: a TOC page or
// a page the run does not rewrite keeps every marker; a topic keeps one whose switch is off, or
// all when its new bytes could not be written, or a third <BREAD> or <MENU> and later ones.
// Empty where none of these holds.
std::string ExplainMarker(const RunSettings& settings, const TocTreeRecord& toc_tree,
                          const std::string& path, std::string_view marker);

}  // namespace quorva
