#include "core/checked_writes.h"

#include "core/fatal_error.h"

namespace quorva {

bool CheckedWrites::Write(const std::string& path, std::string_view bytes, LinkReach reach,
                          Reading reading) {
  if (reach == LinkReach::kAnywhere) {
    named_by_user_.insert(path);
  }
  Announce(path, reading);
  return Tell(path, bytes, Check(fs_.WriteBinary(path, bytes, reach), path));
}

bool CheckedWrites::ReplaceChanged(const std::string& path, const std::string& old_bytes,
                                   const std::string& new_bytes, Reading reading) {
  const bool named_by_user = named_by_user_.count(path) != 0;
  if (new_bytes != old_bytes) {
    Announce(path, reading);
    return Tell(
        path, new_bytes,
        Check(fs_.ReplaceBinary(path, new_bytes,
                                named_by_user ? LinkReach::kAnywhere : LinkReach::kOwnFolder),
              path));
  }
  if (!named_by_user && fs_.LinksOutOfItsFolder(path)) {
    ReportLinkOutside(path);
    return false;
  }
  return Tell(path, new_bytes, true);
}

void CheckedWrites::Announce(const std::string& path, Reading reading) {
  if (reading == Reading::kLetGo) {
    fs_.ForgetBytesOfNextWrite(path);
  }
}

bool CheckedWrites::Tell(const std::string& path, std::string_view bytes, bool on_disk) {
  if (listener_ != nullptr && on_disk) {
    listener_->PageWritten(path, bytes);
  }
  return on_disk;
}

bool CheckedWrites::Check(const WriteResult& result, const std::string& path) {
  if (result.Failed()) {
    throw FatalError("\nError: (" + path + ") not written: " + result.reason + ".\n");
  }
  if (result.outcome == WriteOutcome::kLinksOutside) {
    ReportLinkOutside(path);
  }
  return result.Written();
}

void CheckedWrites::ReportLinkOutside(const std::string& path) {
  if (reported_links_.insert(path).second) {
    console_.Write("\nNot written (" + path + "): it links to a file outside the output folder.\n");
  }
}

}  // namespace quorva
