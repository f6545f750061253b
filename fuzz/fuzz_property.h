#pragma once

#include <cstdio>
#include <cstdlib>

namespace quorva {

// A property the fuzzed code must keep. A broken one aborts, so the fuzzer reports a finding
// and saves the input that broke it.
inline void RequireProperty(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "Property broken: %s\n", property);
    std::abort();
  }
}

}  // namespace quorva
