#pragma once

#include <string>
#include <vector>

#include "passes/check/page_digest.h"

namespace quorva {

// Why nothing reaches a page: "nothing links it", or "linked only from " and up to three of the
// pages that link it ("a.htm, b.htm, c.htm and 2 more"), by name.
std::string ExplainUnreachable(std::vector<std::string> linking_pages);

// Where the TOC scan cuts a TOC page's link short of the page it names (`path`, below the
// output folder): what the scan reads and the column where it stops, or that it reads no link
// written so; "" where it reads the whole name.
std::string ExplainUnreadTocName(const PlacedText& link, const std::string& path);

}  // namespace quorva
