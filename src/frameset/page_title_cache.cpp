#include "frameset/page_title_cache.h"

#include "frameset/page_title.h"

namespace quorva {

std::optional<std::string> PageTitleCache::Title(const std::string& path) {
  // The stamp is taken first: a file that changes while it is read is read again next time.
  std::optional<FileStamp> stamp = files_.Stamp(path);
  if (!stamp) {
    entries_.erase(path);
    return ReadPageTitle(files_, path);
  }
  auto found = entries_.find(path);
  if (found != entries_.end() && found->second.stamp == *stamp) {
    return found->second.title;
  }
  std::optional<std::string> title = ReadPageTitle(files_, path);
  entries_[path] = Entry{*stamp, title};
  return title;
}

}  // namespace quorva
