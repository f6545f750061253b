#pragma once

#include <stdexcept>
#include <string>

namespace quorva {

constexpr int kExitDone = 0;
constexpr int kExitSetupError = 1;
constexpr int kExitFatal = 3;

// A resource or structure error inside a pass (out of memory, a list full, the TOC too deep).
// Its text is the console message, printed as it stands; the run then ends with kExitFatal.
class FatalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quorva
