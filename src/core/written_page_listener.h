#pragma once

#include <string>
#include <string_view>

namespace quorva {

// Told of every file's bytes as they reach the disk, so that a reader after the passes (the
// check) takes what a pass wrote without reading it again.
class WrittenPageListener {
 public:
  virtual ~WrittenPageListener() = default;
  virtual void PageWritten(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace quorva
