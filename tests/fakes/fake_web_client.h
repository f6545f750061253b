#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/web_client.h"

namespace quorva {

// The web in memory, on a clock of its own that moves only while the asker waits: each
// address answers from a script, after its latency, and every start is recorded.
class FakeWebClient : public WebClient {
 public:
  struct Reply {
    WebAnswer answer;
    long latency_ms = 50;
  };
  struct Start {
    WebTime at;
    std::string method;  // "HEAD" or "GET"
    std::string url;
  };

  // The replies to successive requests of `method` ("HEAD", "GET" or "*" for both) to `url`;
  // the last one repeats. A URL without a script has an unknown host.
  void On(const std::string& method, const std::string& url, std::vector<Reply> replies);
  // A reply with this status (and Location, where given) after 50 ms.
  static Reply Status(int status, std::string location = "", std::string retry_after = "");
  static Reply Failure(WebFailure failure, long latency_ms = 50);

  // A client that forwards to this one, as a run opens the web; and how many were opened.
  std::unique_ptr<WebClient> Open();
  int opened = 0;

  void Start(std::size_t ticket, const WebRequest& request) override;
  std::vector<std::pair<std::size_t, WebAnswer>> Wait(WebTime until) override;
  WebTime Now() override { return now_; }

  const std::vector<struct Start>& starts() const { return starts_; }
  std::size_t RequestsTo(const std::string& url) const;
  // The most requests open at once to one host, and in all.
  std::size_t MostOpenToOneHost() const { return most_open_to_host_; }
  std::size_t MostOpen() const { return most_open_; }
  // The timeouts the requests asked for.
  std::vector<int> timeouts() const { return timeouts_; }

 private:
  struct Pending {
    WebTime at;
    std::size_t ticket;
    std::string host;
    WebAnswer answer;
  };

  std::map<std::pair<std::string, std::string>, std::vector<Reply>> scripts_;
  std::map<std::pair<std::string, std::string>, std::size_t> asked_;
  std::vector<Pending> pending_;
  std::map<std::string, std::size_t> open_;
  std::vector<struct Start> starts_;
  std::vector<int> timeouts_;
  std::size_t most_open_to_host_ = 0;
  std::size_t most_open_ = 0;
  WebTime now_{0};
};

}  // namespace quorva
