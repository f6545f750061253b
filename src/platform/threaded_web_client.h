#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "platform/web_client.h"

namespace quorva {

// Fetches one request at a time, blocking until its answer or failure: the platform's HTTP
// library behind it. Each worker thread has a fetcher of its own, so a fetcher may keep a
// connection open from one request to the next.
class WebFetcher {
 public:
  virtual ~WebFetcher() = default;
  // `cancel` turns true when the client is being destroyed: a fetcher that can should give up
  // soon after (its answer is dropped).
  virtual WebAnswer Fetch(const WebRequest& request, const std::atomic<bool>& cancel) = 0;
};

// Makes the fetcher of a new worker thread; called on that thread.
using WebFetcherFactory = std::function<std::unique_ptr<WebFetcher>()>;

// How long after its timeout a request that has not answered is given up as timed out: WinHTTP
// under Wine was seen to ignore its timeouts.
constexpr std::chrono::milliseconds kWebOverrunGrace{2000};

// A WebClient that runs each request on a worker thread. Workers are made as requests need
// them and reused; a request that has not answered by its start + timeout + grace is reported
// as timed out ("no answer within N s"), its late answer dropped when it comes, and the worker
// it holds no longer counts as free, so others are made for new requests. Destruction cancels
// the requests still running, waits for the workers whose request can still end on time (until
// its start + timeout + grace at most) and joins them; a worker stuck past that is left
// detached, keeping alive only what it shares with the client.
class ThreadedWebClient : public WebClient {
 public:
  explicit ThreadedWebClient(WebFetcherFactory factory,
                             std::chrono::milliseconds overrun_grace = kWebOverrunGrace);
  ~ThreadedWebClient() override;
  ThreadedWebClient(const ThreadedWebClient&) = delete;
  ThreadedWebClient& operator=(const ThreadedWebClient&) = delete;

  void Start(std::size_t ticket, const WebRequest& request) override;
  std::vector<std::pair<std::size_t, WebAnswer>> Wait(WebTime until) override;
  WebTime Now() override;

  // The worker threads made so far, for tests.
  std::size_t WorkerCount() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace quorva
