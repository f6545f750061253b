#include "platform/file_system.h"

#include "platform/text_mode.h"

namespace quorva {

std::string ReadToEnd(ByteReader& reader, std::size_t expected_size) {
  std::string bytes;
  bytes.resize(expected_size + 1);
  std::size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) {
      bytes.resize(bytes.size() * 2);
    }
    const std::size_t wanted = bytes.size() - filled;
    const std::size_t got = reader.Read(bytes.data() + filled, wanted);
    filled += got;
    // A short read that brings exactly the length the file had when opened is its end: the
    // byte of room beyond that length would have taken a byte the file has gained since.
    if (got == 0 || (got < wanted && filled == expected_size)) {
      break;
    }
  }
  bytes.resize(filled);
  return bytes;
}

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
