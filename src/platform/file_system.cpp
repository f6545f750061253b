#include "platform/file_system.h"

#include "platform/text_mode.h"

namespace quorva {

std::optional<std::string> ReadTextFile(FileSystem& fs, const std::string& path) {
  std::optional<std::string> bytes = fs.ReadBinary(path);
  if (!bytes) {
    return std::nullopt;
  }
  return DecodeTextMode(*bytes);
}

bool WriteTextFile(FileSystem& fs, const std::string& path, std::string_view text) {
  return fs.WriteBinary(path, EncodeTextMode(text));
}

}  // namespace quorva
