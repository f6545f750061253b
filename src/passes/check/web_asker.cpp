#include "passes/check/web_asker.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>

#include "text/utc_time.h"

namespace quorva {

namespace {

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Answers to HEAD that many servers give where GET would do.
bool RefusesHead(const WebAnswer& answer) {
  if (answer.failure == WebFailure::kClosed) {
    return true;
  }
  return answer.failure == WebFailure::kNone &&
         ((answer.status >= 400 && answer.status < 500 && answer.status != 429) ||
          answer.status == 501);
}

bool MayPass(const WebAnswer& answer) {
  switch (answer.failure) {
    case WebFailure::kTimeout:
    case WebFailure::kReset:
    case WebFailure::kClosed:
      return true;
    case WebFailure::kNone:
      return answer.status == 429 || (answer.status >= 500 && answer.status < 600);
    default:
      return false;
  }
}

// Seconds a Retry-After header asks for; nothing when it says nothing the check can read.
std::optional<std::int64_t> ReadRetryAfter(const std::string& header, std::int64_t now_utc) {
  if (header.empty()) {
    return std::nullopt;
  }
  if (header.find_first_not_of("0123456789") == std::string::npos) {
    return header.size() > 9 ? std::int64_t{999999999} : std::stoll(header);
  }
  const std::optional<std::int64_t> date = ParseHttpDate(header);
  if (!date) {
    return std::nullopt;
  }
  return std::max<std::int64_t>(0, *date - now_utc);
}

class Asker {
 public:
  Asker(const std::vector<WebAddress>& addresses, WebClient& client, const WebAskLimits& limits,
        const WebAskContext& context)
      : client_(client), limits_(limits), context_(context), verdicts_(addresses.size()) {
    tasks_.reserve(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      Task& task = tasks_.emplace_back();
      task.url = addresses[i].url;
      task.visited.push_back(task.url);
      Enqueue(i, addresses[i].host_key, WebTime{0});
    }
  }

  std::vector<WebVerdict> Run() {
    start_ = client_.Now();
    std::size_t next_host = 0;
    while (done_ < tasks_.size()) {
      const WebTime now = client_.Now();
      WebTime wake = WebTime::max();
      // Hosts take turns, so that one host's long queue does not hold up the others.
      for (std::size_t k = 0; k < hosts_.size() && open_ < limits_.most_at_once; ++k) {
        StartReady(hosts_[(next_host + k) % hosts_.size()], now, wake);
      }
      next_host = hosts_.empty() ? 0 : (next_host + 1) % hosts_.size();
      if (open_ == 0 && wake == WebTime::max()) {
        break;  // nothing runs and nothing waits: cannot happen while tasks remain
      }
      for (auto& [ticket, answer] : client_.Wait(wake)) {
        Host& host = hosts_[tasks_[ticket].host];
        --host.open;
        --open_;
        Handle(ticket, answer, client_.Now());
      }
    }
    return std::move(verdicts_);
  }

 private:
  struct Task {
    std::string url;
    std::size_t host = 0;
    bool get = false;
    int tries = 0;
    int redirects = 0;
    bool moved_for_good = false;
    std::vector<std::string> visited;
    WebTime ready_at{0};
    WebTime waited{0};  // between its tries so far
  };

  struct Host {
    std::deque<std::size_t> waiting;
    std::size_t open = 0;
    std::optional<WebTime> last_start;
  };

  void Enqueue(std::size_t ticket, const std::string& host_key, WebTime ready_at) {
    auto found = host_index_.emplace(host_key, hosts_.size());
    if (found.second) {
      hosts_.emplace_back();
    }
    Task& task = tasks_[ticket];
    task.host = found.first->second;
    task.ready_at = ready_at;
    hosts_[task.host].waiting.push_back(ticket);
  }

  void StartReady(Host& host, WebTime now, WebTime& wake) {
    while (host.open < limits_.most_per_host && open_ < limits_.most_at_once &&
           !host.waiting.empty()) {
      auto ready = std::find_if(host.waiting.begin(), host.waiting.end(),
                                [&](std::size_t t) { return tasks_[t].ready_at <= now; });
      if (ready == host.waiting.end()) {
        for (std::size_t t : host.waiting) {
          wake = std::min(wake, tasks_[t].ready_at);
        }
        return;
      }
      if (host.last_start && now < *host.last_start + limits_.host_spacing) {
        wake = std::min(wake, *host.last_start + limits_.host_spacing);
        return;
      }
      const std::size_t ticket = *ready;
      host.waiting.erase(ready);
      host.last_start = now;
      ++host.open;
      ++open_;
      const Task& task = tasks_[ticket];
      WebRequest request;
      request.url = task.url;
      request.head = !task.get;
      request.timeout_seconds = limits_.timeout_seconds;
      request.connect_timeout_seconds = std::min(10, limits_.timeout_seconds);
      client_.Start(ticket, request);
    }
  }

  void Finish(std::size_t ticket, WebVerdict verdict) {
    verdicts_[ticket] = std::move(verdict);
    ++done_;
    if (context_.progress) {
      context_.progress(done_, tasks_.size());
    }
  }

  void Handle(std::size_t ticket, const WebAnswer& answer, WebTime now) {
    Task& task = tasks_[ticket];
    if (answer.failure == WebFailure::kNone && IsRedirect(answer.status)) {
      FollowRedirect(ticket, answer);
    } else if (!task.get && RefusesHead(answer)) {
      task.get = true;
      hosts_[task.host].waiting.push_back(ticket);
    } else if (MayPass(answer)) {
      Retry(ticket, answer, now);
    } else {
      Finish(ticket, JudgeAnswer(answer, task.url, task.moved_for_good, limits_.timeout_seconds));
    }
  }

  void FollowRedirect(std::size_t ticket, const WebAnswer& answer) {
    Task& task = tasks_[ticket];
    const std::string status = DescribeStatus(answer.status);
    if (answer.location.empty()) {
      Finish(ticket, UnverifiedAddress(status + " without a Location", answer.status));
      return;
    }
    const std::optional<WebAddress> next = ResolveRedirect(task.url, answer.location);
    if (!next) {
      Finish(ticket, BrokenAddress("redirects to " + EscapeUnsafeBytes(answer.location) +
                                       ", not a valid address",
                                   answer.status));
    } else if (std::find(task.visited.begin(), task.visited.end(), next->url) !=
               task.visited.end()) {
      Finish(ticket, BrokenAddress("a redirect loop", answer.status));
    } else if (task.redirects == limits_.most_redirects) {
      Finish(ticket,
             BrokenAddress("more than " + std::to_string(limits_.most_redirects) + " redirects",
                           answer.status));
    } else if (next->is_private && !limits_.ask_private) {
      Finish(ticket, UnverifiedAddress("redirects to a private address", answer.status));
    } else {
      task.moved_for_good = task.moved_for_good || answer.status == 301 || answer.status == 308;
      task.url = next->url;
      task.visited.push_back(task.url);
      ++task.redirects;
      task.get = false;
      Enqueue(ticket, next->host_key, WebTime{0});
    }
  }

  // Tries and waits count for the address, whatever redirects it took, so that a site that
  // never answers holds the run up for three tries and at most a minute of waits.
  void Retry(std::size_t ticket, const WebAnswer& answer, WebTime now) {
    Task& task = tasks_[ticket];
    const std::int64_t now_utc =
        context_.now_utc + std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
    const std::optional<std::int64_t> asked_wait = answer.failure == WebFailure::kNone
                                                       ? ReadRetryAfter(answer.retry_after, now_utc)
                                                       : std::nullopt;
    WebTime wait{0};
    if (asked_wait) {
      wait = WebTime{std::min(*asked_wait, limits_.longest_retry_after + 1) * 1000};
    } else {
      // 1 s, then 2 s, each with up to a quarter more so that retries do not come in step.
      const double base = task.tries == 0 ? 1000.0 : 2000.0;
      wait = WebTime{static_cast<WebTime::rep>(base * (1.0 + 0.25 * context_.random()))};
    }
    const bool too_long = asked_wait && (*asked_wait > limits_.longest_retry_after ||
                                         task.waited + wait > limits_.most_waiting);
    if (too_long) {
      Finish(ticket, UnverifiedAddress(DescribeStatus(answer.status) + ": the site asked to wait " +
                                           std::to_string(*asked_wait) + " s",
                                       answer.status));
      return;
    }
    if (++task.tries == limits_.most_tries || task.waited + wait > limits_.most_waiting) {
      Finish(ticket, JudgeAnswer(answer, task.url, task.moved_for_good, limits_.timeout_seconds));
      return;
    }
    task.waited += wait;
    task.ready_at = now + wait;
    hosts_[task.host].waiting.push_back(ticket);
  }

  WebClient& client_;
  const WebAskLimits& limits_;
  const WebAskContext& context_;
  std::vector<Task> tasks_;
  std::vector<WebVerdict> verdicts_;
  std::vector<Host> hosts_;
  std::unordered_map<std::string, std::size_t> host_index_;
  std::size_t open_ = 0;
  std::size_t done_ = 0;
  WebTime start_{0};  // the client's time when asking began, to read Retry-After dates
};

}  // namespace

std::vector<WebVerdict> AskWebAddresses(const std::vector<WebAddress>& addresses, WebClient& client,
                                        const WebAskLimits& limits, const WebAskContext& context) {
  return Asker(addresses, client, limits, context).Run();
}

}  // namespace quorva
