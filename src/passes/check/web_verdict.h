#pragma once

#include <string>

#include "platform/web_client.h"

namespace quorva {

// What the web said of an address, in the end.
enum class WebOutcome { kFine, kMoved, kBroken, kUnverified };

struct WebVerdict {
  WebOutcome outcome = WebOutcome::kFine;
  int status = 0;        // the last HTTP status; 0 where none came
  std::string moved_to;  // where a moved address now leads
  std::string detail;    // the finding's reason: "404 Not Found", "moved for good to ..."
};

// "404 Not Found": the status and its standard reason phrase, or the status alone.
std::string DescribeStatus(int status);

// The verdict on the last answer an address got, once nothing more is to be asked:
// `moved_for_good` says a permanent redirect led there, from `url`.
WebVerdict JudgeAnswer(const WebAnswer& answer, const std::string& url, bool moved_for_good,
                       int timeout_seconds);

// The verdict on an address that names no valid URL, or that redirects to one, a loop, too
// far, or to a private address.
WebVerdict BrokenAddress(std::string detail, int status = 0);
WebVerdict UnverifiedAddress(std::string detail, int status = 0);

}  // namespace quorva
