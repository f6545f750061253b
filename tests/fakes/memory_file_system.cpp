#include "fakes/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "platform/real_file_system.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// "/" separators, and "." folders gone, as the system names the same file either way.
std::string Normal(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  for (std::size_t dot = path.find("/./"); dot != std::string::npos; dot = path.find("/./")) {
    path.erase(dot, 2);
  }
  return path.compare(0, 2, "./") == 0 ? path.substr(2) : path;
}

class StringReader : public ByteReader {
 public:
  StringReader(std::string content, FileStamp stamp)
      : content_(std::move(content)), stamp_(stamp) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t count = std::min(size, content_.size() - position_);
    std::memcpy(buffer, content_.data() + position_, count);
    position_ += count;
    return count;
  }
  std::optional<FileStamp> Stamp() override { return stamp_; }

 private:
  std::string content_;
  FileStamp stamp_;
  std::size_t position_ = 0;
};

std::string FolderOf(const std::string& key) {
  const PathParts parts = SplitPath(key);
  return parts.drive + parts.folder;
}

}  // namespace

std::string MemoryFileSystem::Spelled(const std::string& key) const {
  if (!replace_takes_new_spelling) {
    return key;
  }
  const std::string folded = FoldAsciiCase(key);
  for (const auto* keys : {&files_, &links_}) {
    for (const auto& kept : *keys) {
      if (FoldAsciiCase(kept.first) == folded) {
        return kept.first;
      }
    }
  }
  for (const std::string& folder : folders_) {
    if (FoldAsciiCase(folder) == folded) {
      return folder;
    }
  }
  return key;
}

std::string MemoryFileSystem::Resolve(const std::string& path) const {
  std::string key = Spelled(Normal(path));
  // A loop of links ends somewhere that is no file, as the system gives up on one.
  for (std::size_t hops = 0; hops <= links_.size(); ++hops) {
    auto link = links_.find(key);
    if (link == links_.end()) {
      return key;
    }
    key = link->second;
  }
  return std::string();
}

void MemoryFileSystem::Store(const std::string& key, std::string_view content) {
  files_[key] = std::string(content);
  versions_[key] = next_version_++;
}

void MemoryFileSystem::AddFile(const std::string& path, std::string content) {
  Store(Normal(path), content);
}

void MemoryFileSystem::AddFolder(const std::string& path) {
  folders_.insert(Normal(path));
}

void MemoryFileSystem::AddLink(const std::string& path, const std::string& target) {
  links_[Normal(path)] = Normal(target);
}

void MemoryFileSystem::MakeReadOnly(const std::string& path) {
  read_only_.insert(Normal(path));
}

void MemoryFileSystem::FailWrites(const std::string& path, WriteResult result) {
  failing_[Normal(path)] = std::move(result);
}

std::string MemoryFileSystem::Content(const std::string& path) const {
  auto found = files_.find(Resolve(path));
  return found == files_.end() ? "<missing>" : found->second;
}

bool MemoryFileSystem::HasFile(const std::string& path) const {
  return files_.count(Resolve(path)) != 0;
}

bool MemoryFileSystem::IsReadable(const std::string& path) {
  return HasFile(path) || folders_.count(Normal(path)) != 0;
}

std::optional<std::uint64_t> MemoryFileSystem::FileLength(const std::string& path) {
  auto found = files_.find(Resolve(path));
  if (found == files_.end()) {
    return std::nullopt;
  }
  return found->second.size();
}

std::optional<FileStamp> MemoryFileSystem::Stamp(const std::string& path) {
  ++stamps_asked;
  auto found = files_.find(Resolve(path));
  if (found == files_.end()) {
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.file = versions_[found->first];
  stamp.size = found->second.size();
  stamp.settled = stamps_settled;
  return stamp;
}

std::unique_ptr<ByteReader> MemoryFileSystem::OpenForReading(const std::string& path) {
  auto found = files_.find(Resolve(path));
  if (found == files_.end()) {
    return nullptr;
  }
  reads.push_back(Normal(path));
  return std::make_unique<StringReader>(found->second, *Stamp(path));
}

std::optional<std::string> MemoryFileSystem::ReadBinary(const std::string& path) {
  auto found = files_.find(Resolve(path));
  if (found == files_.end()) {
    return std::nullopt;
  }
  reads.push_back(Normal(path));
  return found->second;
}

WriteResult MemoryFileSystem::WriteBinary(const std::string& path, std::string_view bytes,
                                          LinkReach reach) {
  return WriteOrProbe(path, bytes, reach, WriteKind::kCreateOrReplace, false);
}

WriteResult MemoryFileSystem::ReplaceBinary(const std::string& path, std::string_view bytes,
                                            LinkReach reach) {
  return WriteOrProbe(path, bytes, reach, WriteKind::kReplaceOnly, false);
}

WriteResult MemoryFileSystem::ProbeWrite(const std::string& path, std::string_view bytes,
                                         LinkReach reach, WriteKind kind) {
  return WriteOrProbe(path, bytes, reach, kind, true);
}

WriteResult MemoryFileSystem::WriteOrProbe(const std::string& path, std::string_view bytes,
                                           LinkReach reach, WriteKind kind, bool probe) {
  std::string key = Spelled(Normal(path));
  const bool exists = files_.count(key) != 0 || links_.count(key) != 0;
  if (!exists && kind == WriteKind::kCreateOrReplace) {
    if (folders_.count(key) != 0) {
      return WriteResult{WriteOutcome::kRefused, 21, "Is a directory"};
    }
    if (failing_.count(key) != 0) {
      return failing_[key];
    }
    if (!probe) {
      writes.push_back(key);
      Store(key, bytes);
    }
    return WriteResult{};
  }
  if (reach == LinkReach::kOwnFolder && LinksOutOfItsFolder(path)) {
    return LinksOutsideOutcome();
  }
  key = Resolve(path);
  if (files_.count(key) == 0) {
    return WriteResult{WriteOutcome::kRefused, 2, "No such file or directory"};
  }
  if (files_[key] == bytes) {
    return WriteResult{};  // left untouched, as the real one leaves a file that holds them
  }
  if (read_only_.count(key) != 0) {
    return WriteResult{WriteOutcome::kRefused, 13, "Permission denied"};
  }
  if (failing_.count(key) != 0) {
    return failing_[key];
  }
  if (!probe) {
    replacements.push_back(key);
    if (replace_takes_new_spelling && links_.count(Spelled(Normal(path))) == 0 &&
        key != Normal(path)) {
      files_.erase(key);
      versions_.erase(key);
      key = Normal(path);
    }
    Store(key, bytes);
  }
  return WriteResult{};
}

bool MemoryFileSystem::LinksOutOfItsFolder(const std::string& path) {
  const std::string key = Normal(path);
  const std::string target = Resolve(key);
  return links_.count(key) != 0 && files_.count(target) != 0 && FolderOf(target) != FolderOf(key);
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Normal(path);
  if (links_.erase(key) + files_.erase(key) == 0) {
    return false;
  }
  ++removed_;
  return true;
}

std::optional<std::uint64_t> MemoryFileSystem::ReplacedSoFar() {
  if (!counts_replaced) {
    return std::nullopt;
  }
  return replacements.size() + removed_;
}

std::string MemoryFileSystem::AbsolutePath(const std::string& path) {
  const bool drive = path.size() > 1 && path[1] == ':';
  return drive || (!path.empty() && path[0] == '/') ? path : "/work/" + path;
}

bool MemoryFileSystem::IgnoresLetterCase() {
  return ignores_letter_case || replace_takes_new_spelling;
}

FolderNames MemoryFileSystem::ListFolder(const std::string& folder, const std::string& pattern) {
  std::string wanted = Normal(folder);
  if (!wanted.empty() && wanted.back() != '/') {
    wanted += '/';
  }
  FolderNames names;
  auto collect = [&](const std::string& path) {
    PathParts parts = SplitPath(path);
    if (parts.drive + parts.folder == wanted) {
      names.Add(parts.base + parts.extension);
    }
  };
  for (const auto& file : files_) {
    collect(file.first);
  }
  for (const auto& path : folders_) {
    collect(path);
  }
  for (const auto& link : links_) {
    collect(link.first);
  }
  names.SelectAndSort(pattern);
  return names;
}

}  // namespace quorva
