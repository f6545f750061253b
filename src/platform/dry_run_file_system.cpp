#include "platform/dry_run_file_system.h"

#include <algorithm>
#include <limits>

#include "text/modest_growth.h"
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
  return MakeKey(std::string(FolderOf(path)));
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

}  // namespace

const DryRunFileSystem::WrittenFile* DryRunFileSystem::Find(const std::string& path) const {
  const std::uint32_t number = keys_.Find(MakeKey(path));
  return number == StringTable::kNone || written_[number].version == 0 ? nullptr
                                                                       : &written_[number];
}

std::string_view DryRunFileSystem::PathOf(std::uint32_t number) const {
  auto named = named_as_.find(number);
  return named != named_as_.end() ? std::string_view(named->second) : keys_.Get(number);
}

// A stamp no file on the disk has, new with every write, so a changed page is read again.
FileStamp DryRunFileSystem::StampOf(std::uint32_t number) const {
  const WrittenFile& file = written_[number];
  FileStamp stamp;
  stamp.device = std::numeric_limits<std::uint64_t>::max();
  stamp.file = file.version;
  stamp.size = file.size;
  stamp.modified = file.version;
  stamp.changed = file.version;
  stamp.settled = true;
  return stamp;
}

bool DryRunFileSystem::IsHidden(const std::string& path) const {
  return !removed_.empty() && removed_.count(MakeKey(path)) != 0;
}

bool DryRunFileSystem::IsReadable(const std::string& path) {
  if (Find(path) != nullptr) {
    return true;
  }
  return !IsHidden(path) && disk_.IsReadable(path);
}

std::optional<std::uint64_t> DryRunFileSystem::FileLength(const std::string& path) {
  if (const WrittenFile* file = Find(path)) {
    return file->size;
  }
  return IsHidden(path) ? std::nullopt : disk_.FileLength(path);
}

std::optional<FileStamp> DryRunFileSystem::Stamp(const std::string& path) {
  if (Find(path) != nullptr) {
    return StampOf(keys_.Find(MakeKey(path)));
  }
  return IsHidden(path) ? std::nullopt : disk_.Stamp(path);
}

std::unique_ptr<ByteReader> DryRunFileSystem::OpenForReading(const std::string& path) {
  if (Find(path) != nullptr) {
    const std::uint32_t number = keys_.Find(MakeKey(path));
    auto kept = bytes_.find(number);
    // Bytes the run let go of are read by no one.
    return kept == bytes_.end() ? nullptr
                                : std::make_unique<KeptFileReader>(kept->second, StampOf(number));
  }
  return IsHidden(path) ? nullptr : disk_.OpenForReading(path);
}

std::optional<std::string> DryRunFileSystem::ReadBinary(const std::string& path) {
  if (Find(path) != nullptr) {
    auto kept = bytes_.find(keys_.Find(MakeKey(path)));
    return kept == bytes_.end() ? std::nullopt : std::optional<std::string>(kept->second);
  }
  return IsHidden(path) ? std::nullopt : disk_.ReadBinary(path);
}

WriteResult DryRunFileSystem::Keep(const std::string& path, std::string_view bytes,
                                   const WriteResult& result) {
  std::string forget;
  forget.swap(forget_next_);
  if (!result.Written()) {
    return result;
  }
  const std::string key = MakeKey(path);
  const std::uint32_t number = keys_.Add(key);
  if (number == written_.size()) {
    GrowToHold(written_, number);
    if (key != path) {
      named_as_.emplace(number, path);
    }
  }
  // Whether the disk's file differs is told now, while the bytes are at hand. A file of the
  // same length is read to tell; most files a run changes change their length.
  WrittenFile& file = written_[number];
  const std::optional<std::uint64_t> length = disk_.FileLength(path);
  file.on_disk = length.has_value() && disk_.IsReadable(path);
  file.differs = true;
  if (length && *length == bytes.size()) {
    const std::optional<std::string> on_disk = disk_.ReadBinary(path);
    file.on_disk = on_disk.has_value();
    file.differs = !on_disk || *on_disk != bytes;
  }
  file.size = bytes.size();
  file.version = next_version_++;
  // A page written at its last is not copied only to be let go of: a menu page takes megabytes.
  file.let_go_unheard = forget == key;
  if (file.let_go_unheard) {
    bytes_.erase(number);
  } else {
    bytes_[number].assign(bytes.data(), bytes.size());
  }
  removed_.erase(key);
  return result;
}

bool DryRunFileSystem::ForgetWrittenBytes(const std::string& path) {
  if (Find(path) == nullptr) {
    return false;
  }
  const std::uint32_t number = keys_.Find(MakeKey(path));
  if (written_[number].let_go_unheard) {
    written_[number].let_go_unheard = false;
    return true;
  }
  return bytes_.erase(number) != 0;
}

void DryRunFileSystem::ForgetBytesOfNextWrite(const std::string& path) {
  forget_next_ = MakeKey(path);
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
  const std::uint32_t number = keys_.Find(key);
  if (number != StringTable::kNone) {
    written_[number].version = 0;
    bytes_.erase(number);
  }
  removed_.insert(key);
  return true;
}

std::string DryRunFileSystem::AbsolutePath(const std::string& path) {
  return disk_.AbsolutePath(path);
}

bool DryRunFileSystem::IgnoresLetterCase() {
  return disk_.IgnoresLetterCase();
}

FolderNames DryRunFileSystem::ListFolder(const std::string& folder, const std::string& pattern) {
  FolderNames names;
  for (std::string_view name : disk_.ListFolder(folder, "*")) {
    const std::string path = MakePath("", folder, name, "");
    if (!IsHidden(path) && Find(path) == nullptr) {
      names.Add(name);
    }
  }
  const std::string folder_key = MakeFolderKey(MakePath("", folder, "x", ""));
  for (std::uint32_t number = 0; number < written_.size(); ++number) {
    if (written_[number].version != 0 &&
        MakeFolderKey(std::string(keys_.Get(number))) == folder_key) {
      names.Add(FileNameOf(PathOf(number)));
    }
  }
  names.SelectAndSort(pattern);
  return names;
}

DryRunFileSystem::Plan DryRunFileSystem::PlannedChanges() {
  // The list a written file goes in, if any.
  auto list_of = [](const WrittenFile& file) -> std::vector<std::string_view> Plan::* {
    if (file.version == 0 || (file.on_disk && !file.differs)) {
      return nullptr;
    }
    return file.on_disk ? &Plan::changed : &Plan::created;
  };
  // Each list gets its room at once, not twice over while it grows.
  Plan plan;
  std::size_t changed = 0;
  std::size_t created = 0;
  for (const WrittenFile& file : written_) {
    const auto list = list_of(file);
    changed += list == &Plan::changed ? 1 : 0;
    created += list == &Plan::created ? 1 : 0;
  }
  plan.changed.reserve(changed);
  plan.created.reserve(created);
  for (std::uint32_t number = 0; number < written_.size(); ++number) {
    if (auto list = list_of(written_[number])) {
      (plan.*list).push_back(PathOf(number));
    }
  }
  std::sort(plan.changed.begin(), plan.changed.end());
  std::sort(plan.created.begin(), plan.created.end());
  return plan;
}

}  // namespace quorva
