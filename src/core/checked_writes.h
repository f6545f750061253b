#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "core/written_page_listener.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace quorva {

// Every write of a run goes through here, where what the file system made of it becomes what
// the run does. A written file is true. A refused one (read-only, no permission, not a regular
// file) is false, and callers skip it as they would a file they may not change. A failed write
// (a full disk, an input/output error) ends the run with a FatalError naming the file and the
// system's reason, so that no run reports success after losing a write.
//
// Files found in the output folder (`LinkReach::kOwnFolder`) are replaced through a symbolic
// link only when it leads to a file in that folder itself. A link that leads elsewhere is
// refused too, but not silently, since the author may not know it is there: the message comes
// once per path, in the pass that first meets the link. A path the user named, written with
// `LinkReach::kAnywhere`, stays the user's choice when a later pass finds it in the folder.
class CheckedWrites {
 public:
  CheckedWrites(FileSystem& fs, Console& console) : fs_(fs), console_(console) {}
  CheckedWrites(const CheckedWrites&) = delete;
  CheckedWrites& operator=(const CheckedWrites&) = delete;

  // Whether the run reads a file's new bytes again, or lets go of them at once (see
  // FileSystem::ForgetBytesOfNextWrite).
  enum class Reading { kReadAgain, kLetGo };

  // Writes a file whole, created or replaced through the crash-safe path.
  bool Write(const std::string& path, std::string_view bytes, LinkReach reach,
             Reading reading = Reading::kReadAgain);

  // Replaces a file of the output folder, read as `old_bytes`, with `new_bytes`. A file whose
  // bytes stay the same is not written, so it keeps its time; a link that leads out of the
  // folder is reported all the same, unless the user named the path. True when the new bytes
  // are on disk.
  bool ReplaceChanged(const std::string& path, const std::string& old_bytes,
                      const std::string& new_bytes, Reading reading = Reading::kReadAgain);

  // The run reads nothing more of the bytes it wrote to `path`; true when the file system let go
  // of them (see FileSystem::ForgetWrittenBytes).
  bool ForgetWrittenBytes(const std::string& path) { return fs_.ForgetWrittenBytes(path); }

  // From now on, tells `listener` of the bytes each file gets on disk, also of a file whose
  // bytes stayed the same.
  void TellOfWrites(WrittenPageListener& listener) { listener_ = &listener; }
  // The paths reported as links out of the output folder, and so not written.
  const std::unordered_set<std::string>& LinksOutside() const { return reported_links_; }

 private:
  bool Tell(const std::string& path, std::string_view bytes, bool on_disk);
  void Announce(const std::string& path, Reading reading);
  bool Check(const WriteResult& result, const std::string& path);
  void ReportLinkOutside(const std::string& path);

  FileSystem& fs_;
  Console& console_;
  std::unordered_set<std::string> reported_links_;
  std::unordered_set<std::string> named_by_user_;
  WrittenPageListener* listener_ = nullptr;
};

}  // namespace quorva
