#include "platform/real_file_system.h"

namespace quorva {

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
