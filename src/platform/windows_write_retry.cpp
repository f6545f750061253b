#include "platform/windows_write_retry.h"

namespace quorva {

bool WriteRetry::MayPass(DWORD error, AccessDenied access_denied) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         (error == ERROR_ACCESS_DENIED && access_denied == AccessDenied::kMayPass);
}

bool WriteRetry::Pause() {
  if (budget_left_ms_ == 0) {
    return false;
  }
  const DWORD pause = next_pause_ms_ < budget_left_ms_ ? next_pause_ms_ : budget_left_ms_;
  ::Sleep(pause);
  budget_left_ms_ -= pause;
  next_pause_ms_ *= 2;
  return true;
}

}  // namespace quorva
