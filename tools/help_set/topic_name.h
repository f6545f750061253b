#pragma once

#include <string>

namespace quorva {

// Generated topics are numbered from 100000 on, as the authoring tool numbers its topic files.
inline std::string TopicName(int number) {
  return std::to_string(100000 + number) + ".htm";
}

}  // namespace quorva
