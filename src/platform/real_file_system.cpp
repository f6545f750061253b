#include "platform/real_file_system.h"

namespace quorva {

WriteResult RealFileSystem::WriteBinary(const std::string& path, std::string_view bytes,
                                        LinkReach reach) {
  return WriteOrProbe(*memo_, path, bytes, reach, WriteKind::kCreateOrReplace, WriteStep::kWrite);
}

WriteResult RealFileSystem::ReplaceBinary(const std::string& path, std::string_view bytes,
                                          LinkReach reach) {
  return WriteOrProbe(*memo_, path, bytes, reach, WriteKind::kReplaceOnly, WriteStep::kWrite);
}

WriteResult RealFileSystem::ProbeWrite(const std::string& path, std::string_view bytes,
                                       LinkReach reach, WriteKind kind) {
  return WriteOrProbe(*memo_, path, bytes, reach, kind, WriteStep::kProbe);
}

WriteResult WriteErrorOutcome(long code) {
  WriteResult result;
  result.outcome = IsRefusalCode(code) ? WriteOutcome::kRefused : WriteOutcome::kFailed;
  result.code = code;
  result.reason = SystemErrorText(code);
  return result;
}

WriteResult LinksOutsideOutcome() {
  return WriteResult{WriteOutcome::kLinksOutside, 0, "it links to a file outside its folder"};
}

}  // namespace quorva
