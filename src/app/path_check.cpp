#include "app/path_check.h"

#include "text/path.h"

namespace quorva {

bool IsPathWithinLimit(const std::string& path, Console& console) {
  if (path.size() <= kPathLimit) {
    return true;
  }
  console.Write("Error: Path too long (" + path + ").\n");
  return false;
}

}  // namespace quorva
