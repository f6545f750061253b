#pragma once

#include <string>

#include "core/run_context.h"
#include "passes/index_frame_pages/frameset_format.h"

namespace quorva {

// What every page of the index frame walk shares.
struct IndexFrameWalk {
  RunContext& run;
  const FramesetFormat& format;
  const std::string& index_page_title;
};

// Writes, beside each TOC page of the tree, an index frame page "i" + topic name for every
// topic the page is first in walk order to list, then walks the page's nested TOC pages one
// level deeper, depth first.
void ParseThisToc(IndexFrameWalk& walk, const std::string& toc_page_path, int depth);

// The index frame pass: every topic of the TOC tree gets its index frame page, each topic once.
void CreateIndexFramePages(RunContext& run, const FramesetFormat& format,
                           const std::string& index_page_title, const std::string& toc_page_path);

}  // namespace quorva
