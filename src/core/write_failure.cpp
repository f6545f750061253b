#include "core/write_failure.h"

#include "core/fatal_error.h"

namespace quorva {

bool CheckWrite(const WriteResult& result, const std::string& path) {
  if (result.Failed()) {
    throw FatalError("\nError: (" + path + ") not written: " + result.reason + ".\n");
  }
  return result.Written();
}

bool ReplaceChangedFile(FileSystem& fs, const std::string& path, const std::string& old_bytes,
                        const std::string& new_bytes) {
  return new_bytes == old_bytes || CheckWrite(fs.ReplaceBinary(path, new_bytes), path);
}

}  // namespace quorva
