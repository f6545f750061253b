#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "passes/check/web_address.h"
#include "passes/check/web_verdict.h"
#include "platform/web_client.h"

namespace quorva {

// How politely, and how long, the web is asked.
struct WebAskLimits {
  int timeout_seconds = 30;
  bool ask_private = false;  // follow redirects to private addresses
  std::size_t most_at_once = 32;
  std::size_t most_per_host = 2;
  WebTime host_spacing{100};  // between the starts of two requests to one host
  int most_redirects = 10;
  int most_tries = 3;  // of an address that times out, is reset, or answers 5xx or 429
  std::int64_t longest_retry_after = 60;  // seconds a site may ask to be left alone
  WebTime most_waiting{63000};            // between the tries of one address, in all
};

// What asking needs besides the web: a random number in [0, 1) to spread the waits before a
// retry and each cached address's age limit, the time (seconds since 1970, UTC) to read a
// Retry-After date and the cache's ages against, and whom to tell how many addresses are done.
struct WebAskContext {
  std::function<double()> random;
  std::int64_t now_utc = 0;
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// Asks each address, HEAD first and GET where HEAD is refused, following redirects, retrying
// what may pass, never more than the limits allow at once or to one host; gives each address
// its verdict, in the order given.
std::vector<WebVerdict> AskWebAddresses(const std::vector<WebAddress>& addresses, WebClient& client,
                                        const WebAskLimits& limits, const WebAskContext& context);

}  // namespace quorva
