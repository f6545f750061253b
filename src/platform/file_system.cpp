#include "platform/file_system.h"

#include "text/path.h"
#include "text/text_mode.h"
#include "text/wildcard.h"

namespace quorva {

bool operator==(const FileStamp& a, const FileStamp& b) {
  return a.device == b.device && a.file == b.file && a.size == b.size && a.modified == b.modified &&
         a.changed == b.changed;
}

std::size_t BytesReader::Read(char* buffer, std::size_t size) {
  const std::size_t count = bytes_.copy(buffer, size);
  bytes_.remove_prefix(count);
  return count;
}

std::string ReadToEnd(ByteReader& reader, std::size_t expected_size) {
  std::string bytes;
  bytes.resize(expected_size + 1);
  std::size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) {
      bytes.resize(bytes.size() * 2);
    }
    const std::size_t wanted = bytes.size() - filled;
    std::size_t got = reader.Read(bytes.data() + filled, wanted);
    if (got == 0) {
      break;
    }
    filled += got;
    // A regular file read short once it has given its length is at its end: asking again only
    // to hear nothing costs a system call a file. A read cut short before that (one of more than
    // 2 GB, a file that shrank) goes on.
    if (got < wanted && filled >= expected_size) {
      break;
    }
  }
  bytes.resize(filled);
  return bytes;
}

std::string MakeComparablePath(FileSystem& fs, const std::string& path) {
  const std::optional<std::vector<std::string>> segments = FoldPathSegments(fs.AbsolutePath(path));
  std::string comparable = segments ? JoinSegments(*segments) : path;
  return fs.IgnoresLetterCase() ? FoldAsciiCase(comparable) : comparable;
}

std::optional<std::string> ReadTextFile(FileSystem& fs, const std::string& path) {
  std::optional<std::string> bytes = fs.ReadBinary(path);
  if (!bytes) {
    return std::nullopt;
  }
  return DecodeTextMode(*bytes);
}

WriteResult WriteTextFile(FileSystem& fs, const std::string& path, std::string_view text,
                          LinkReach reach) {
  return fs.WriteBinary(path, EncodeTextMode(text), reach);
}

}  // namespace quorva
