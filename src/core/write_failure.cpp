#include "core/write_failure.h"

#include "core/fatal_error.h"

namespace quorva {

bool CheckWrite(const WriteResult& result, const std::string& path) {
  if (result.Failed()) {
    throw FatalError("\nError: (" + path + ") not written: " + result.reason + ".\n");
  }
  return result.Written();
}

}  // namespace quorva
