#pragma once

#include <windows.h>

namespace quorva {

// Virus scanners and search indexers open a file for a moment just after it was written, often
// without sharing it. A write tries the step such a process blocked again, after pauses that
// grow from 10 ms, for at most about a second per file in all; one object serves one file.
class WriteRetry {
 public:
  // Whether ERROR_ACCESS_DENIED may pass as well. Only moving over a file: there a scanner or a
  // pending delete causes it, while at an open it is the file's or the folder's access list,
  // which waiting does not change.
  enum class AccessDenied { kFinal, kMayPass };

  // Runs `step`, which returns ERROR_SUCCESS or its GetLastError code, until it succeeds, stops
  // for an error no other process causes, or the budget is spent; returns the last code.
  template <typename Step>
  DWORD Run(AccessDenied access_denied, Step step) {
    DWORD error = step();
    while (MayPass(error, access_denied) && Pause()) {
      error = step();
    }
    return error;
  }

 private:
  static bool MayPass(DWORD error, AccessDenied access_denied);
  // Sleeps before the next attempt; false, without sleeping, once the budget is spent.
  bool Pause();

  DWORD next_pause_ms_ = 10;
  DWORD budget_left_ms_ = 1000;
};

}  // namespace quorva
