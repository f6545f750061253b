#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "passes/check/web_verdict.h"

namespace quorva {

// What an earlier run learned of one address.
struct WebCacheEntry {
  WebOutcome outcome = WebOutcome::kFine;
  int status = 0;  // 0 where no answer came
  std::string moved_to;
  std::int64_t asked = 0;   // seconds since 1970, UTC
  std::int64_t linked = 0;  // when a page last linked the address
};

// By the address as asked, sorted as the file is.
using WebCacheEntries = std::map<std::string, WebCacheEntry>;

struct WebCacheRead {
  WebCacheEntries entries;
  std::string problem;  // why the text was not taken; empty when it was
};

// "fine", "moved", "broken", "unverified".
std::string_view OutcomeName(WebOutcome outcome);

// Reads a cache file's text; takes nothing from one that is not whole.
WebCacheRead ParseWebCache(std::string_view text);
// The cache file's text: a first line "# QUORVA web cache 1", then a line per address, sorted,
// its fields between tabs.
std::string FormatWebCache(const WebCacheEntries& entries);

}  // namespace quorva
