#include "frameset/page_title_cache.h"

#include "frameset/page_title.h"
#include "platform/path.h"
#include "platform/wildcard.h"

namespace quorva {

namespace {

std::string CacheKey(const std::string& path) {
  std::string name = FileNameOf(path);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
    name.pop_back();
  }
  return FoldAsciiCase(name);
}

}  // namespace

std::optional<std::string> PageTitleCache::Title(const std::string& path) {
  std::string key = CacheKey(path);
  auto found = entries_.find(key);
  if (found != entries_.end() && found->second.path == path) {
    return found->second.title;
  }
  std::optional<std::string> title = ReadPageTitle(files_, path);
  entries_[std::move(key)] = Entry{path, title};
  return title;
}

void PageTitleCache::Forget(const std::string& path) {
  entries_.erase(CacheKey(path));
}

bool PageTitleCache::WriteBinary(const std::string& path, std::string_view bytes) {
  Forget(path);
  return files_.WriteBinary(path, bytes);
}

bool PageTitleCache::ReplaceBinary(const std::string& path, std::string_view bytes) {
  Forget(path);
  return files_.ReplaceBinary(path, bytes);
}

bool PageTitleCache::RemoveFile(const std::string& path) {
  Forget(path);
  return files_.RemoveFile(path);
}

}  // namespace quorva
