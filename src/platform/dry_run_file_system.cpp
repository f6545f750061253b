#include "platform/dry_run_file_system.h"

#include <algorithm>
#include <limits>

#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// The key under which a path's file is kept: Windows names a file without regard to letter
// case and with either separator.
std::string MakeKey(const std::string& path) {
#ifdef _WIN32
  std::string key = FoldAsciiCase(path);
  std::replace(key.begin(), key.end(), '\\', '/');
  return key;
#else
  return path;
#endif
}

std::string MakeFolderKey(const std::string& path) {
  const PathParts parts = SplitPath(path);
  return MakeKey(parts.drive + parts.folder);
}

// Reads a file kept in memory.
class KeptFileReader : public ByteReader {
 public:
  KeptFileReader(std::string bytes, FileStamp stamp) : bytes_(std::move(bytes)), stamp_(stamp) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, bytes_.size() - offset_);
    bytes_.copy(buffer, count, offset_);
    offset_ += count;
    return count;
  }
  std::optional<FileStamp> Stamp() override { return stamp_; }

 private:
  std::string bytes_;
  std::size_t offset_ = 0;
  FileStamp stamp_;
};

// A stamp no file on the disk has, new with every write, so a changed page is read again.
FileStamp MakeKeptStamp(const std::string& bytes, std::uint64_t version) {
  FileStamp stamp;
  stamp.device = std::numeric_limits<std::uint64_t>::max();
  stamp.file = version;
  stamp.size = bytes.size();
  stamp.modified = version;
  stamp.changed = version;
  stamp.settled = true;
  return stamp;
}

}  // namespace

const DryRunFileSystem::WrittenFile* DryRunFileSystem::Find(const std::string& path) const {
  auto found = written_.find(MakeKey(path));
  return found == written_.end() ? nullptr : &found->second;
}

bool DryRunFileSystem::IsHidden(const std::string& path) const {
  return removed_.count(MakeKey(path)) != 0;
}

bool DryRunFileSystem::IsReadable(const std::string& path) {
  if (Find(path) != nullptr) {
    return true;
  }
  return !IsHidden(path) && disk_.IsReadable(path);
}

std::optional<std::uint64_t> DryRunFileSystem::FileLength(const std::string& path) {
  if (const WrittenFile* file = Find(path)) {
    return file->bytes.size();
  }
  return IsHidden(path) ? std::nullopt : disk_.FileLength(path);
}

std::optional<FileStamp> DryRunFileSystem::Stamp(const std::string& path) {
  if (const WrittenFile* file = Find(path)) {
    return MakeKeptStamp(file->bytes, file->version);
  }
  return IsHidden(path) ? std::nullopt : disk_.Stamp(path);
}

std::unique_ptr<ByteReader> DryRunFileSystem::OpenForReading(const std::string& path) {
  if (const WrittenFile* file = Find(path)) {
    return std::make_unique<KeptFileReader>(file->bytes, MakeKeptStamp(file->bytes, file->version));
  }
  return IsHidden(path) ? nullptr : disk_.OpenForReading(path);
}

std::optional<std::string> DryRunFileSystem::ReadBinary(const std::string& path) {
  if (const WrittenFile* file = Find(path)) {
    return file->bytes;
  }
  return IsHidden(path) ? std::nullopt : disk_.ReadBinary(path);
}

WriteResult DryRunFileSystem::Keep(const std::string& path, std::string_view bytes,
                                   const WriteResult& result) {
  if (result.Written()) {
    const std::string key = MakeKey(path);
    WrittenFile& file = written_[key];
    if (file.path.empty()) {
      file.path = path;
    }
    file.bytes.assign(bytes.data(), bytes.size());
    file.version = next_version_++;
    removed_.erase(key);
  }
  return result;
}

WriteResult DryRunFileSystem::ProbeWrite(const std::string& path, std::string_view bytes,
                                         LinkReach reach, WriteKind kind) {
  // A file this run has written took its write already, so it takes a later one too.
  if (Find(path) != nullptr) {
    return WriteResult{};
  }
  // A file a removal hid is written as a new one.
  return disk_.ProbeWrite(path, bytes, reach, IsHidden(path) ? WriteKind::kCreateOrReplace : kind);
}

WriteResult DryRunFileSystem::WriteBinary(const std::string& path, std::string_view bytes,
                                          LinkReach reach) {
  return Keep(path, bytes, ProbeWrite(path, bytes, reach, WriteKind::kCreateOrReplace));
}

WriteResult DryRunFileSystem::ReplaceBinary(const std::string& path, std::string_view bytes,
                                            LinkReach reach) {
  if (IsHidden(path) && Find(path) == nullptr) {
    return WriteResult{WriteOutcome::kRefused, 0, "removed"};
  }
  return Keep(path, bytes, ProbeWrite(path, bytes, reach, WriteKind::kReplaceOnly));
}

bool DryRunFileSystem::LinksOutOfItsFolder(const std::string& path) {
  return Find(path) == nullptr && !IsHidden(path) && disk_.LinksOutOfItsFolder(path);
}

bool DryRunFileSystem::RemoveFile(const std::string& path) {
  if (!IsReadable(path)) {
    return false;
  }
  const std::string key = MakeKey(path);
  written_.erase(key);
  removed_.insert(key);
  return true;
}

std::string DryRunFileSystem::AbsolutePath(const std::string& path) {
  return disk_.AbsolutePath(path);
}

bool DryRunFileSystem::IgnoresLetterCase() {
  return disk_.IgnoresLetterCase();
}

std::vector<std::string> DryRunFileSystem::ListFolder(const std::string& folder,
                                                      const std::string& pattern) {
  std::vector<std::string> names;
  const std::string folder_key = MakeFolderKey(MakePath("", folder, "x", ""));
  for (std::string& name : disk_.ListFolder(folder, "*")) {
    if (!IsHidden(MakePath("", folder, name, "")) &&
        Find(MakePath("", folder, name, "")) == nullptr) {
      names.push_back(std::move(name));
    }
  }
  for (const auto& [key, file] : written_) {
    if (MakeFolderKey(key) == folder_key) {
      names.push_back(FileNameOf(file.path));
    }
  }
  return SelectAndSortNames(std::move(names), pattern);
}

DryRunFileSystem::Plan DryRunFileSystem::PlannedChanges() {
  Plan plan;
  for (const auto& [key, file] : written_) {
    std::optional<std::string> on_disk = disk_.ReadBinary(file.path);
    if (!on_disk) {
      plan.created.push_back(file.path);
    } else if (*on_disk != file.bytes) {
      plan.changed.push_back(file.path);
    }
  }
  std::sort(plan.changed.begin(), plan.changed.end());
  std::sort(plan.created.begin(), plan.created.end());
  return plan;
}

}  // namespace quorva
