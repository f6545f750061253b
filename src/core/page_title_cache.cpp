#include "core/page_title_cache.h"

#include <memory>

#include "core/page_title.h"

namespace quorva {

std::optional<std::string> PageTitleCache::Title(const std::string& path) {
  auto found = entries_.find(path);
  if (found != entries_.end()) {
    std::optional<FileStamp> stamp = files_.Stamp(path);
    if (stamp && *stamp == found->second.stamp) {
      return found->second.title;
    }
    entries_.erase(found);
  }
  std::unique_ptr<ByteReader> file = files_.OpenForReading(path);
  if (!file) {
    return std::nullopt;
  }
  // The stamp is the file's as opened, before it is read: a change while it is read shows at
  // the next look. A file changed too recently for its stamp to show the next change is read
  // again next time.
  std::optional<FileStamp> stamp = file->Stamp();
  std::string title = ReadPageTitle(*file);
  if (stamp && stamp->settled) {
    entries_.emplace(path, Entry{*stamp, title});
  }
  return title;
}

}  // namespace quorva
