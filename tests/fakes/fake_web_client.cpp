#include "fakes/fake_web_client.h"

#include <algorithm>

namespace quorva {

namespace {

std::string HostOf(const std::string& url) {
  const std::size_t start = url.find("://") + 3;
  return url.substr(start, url.find('/', start) - start);
}

class ForwardingWebClient : public WebClient {
 public:
  explicit ForwardingWebClient(FakeWebClient& web) : web_(web) {}
  void Start(std::size_t ticket, const WebRequest& request) override {
    web_.Start(ticket, request);
  }
  std::vector<std::pair<std::size_t, WebAnswer>> Wait(WebTime until) override {
    return web_.Wait(until);
  }
  WebTime Now() override { return web_.Now(); }

 private:
  FakeWebClient& web_;
};

}  // namespace

std::unique_ptr<WebClient> FakeWebClient::Open() {
  ++opened;
  return std::make_unique<ForwardingWebClient>(*this);
}

void FakeWebClient::On(const std::string& method, const std::string& url,
                       std::vector<Reply> replies) {
  scripts_[{method, url}] = std::move(replies);
}

FakeWebClient::Reply FakeWebClient::Status(int status, std::string location,
                                           std::string retry_after) {
  Reply reply;
  reply.answer.status = status;
  reply.answer.location = std::move(location);
  reply.answer.retry_after = std::move(retry_after);
  return reply;
}

FakeWebClient::Reply FakeWebClient::Failure(WebFailure failure, long latency_ms) {
  Reply reply;
  reply.answer.failure = failure;
  reply.latency_ms = latency_ms;
  return reply;
}

void FakeWebClient::Start(std::size_t ticket, const WebRequest& request) {
  const std::string method = request.head ? "HEAD" : "GET";
  starts_.push_back({now_, method, request.url});
  timeouts_.push_back(request.timeout_seconds);
  auto script = scripts_.find({method, request.url});
  if (script == scripts_.end()) {
    script = scripts_.find({"*", request.url});
  }
  Reply reply = Failure(WebFailure::kUnknownHost, 10);
  if (script != scripts_.end()) {
    std::size_t& asked = asked_[script->first];
    reply = script->second[std::min(asked, script->second.size() - 1)];
    ++asked;
  }
  const std::string host = HostOf(request.url);
  most_open_to_host_ = std::max(most_open_to_host_, ++open_[host]);
  most_open_ = std::max(most_open_, static_cast<std::size_t>(pending_.size() + 1));
  pending_.push_back({now_ + WebTime{reply.latency_ms}, ticket, host, reply.answer});
}

std::vector<std::pair<std::size_t, WebAnswer>> FakeWebClient::Wait(WebTime until) {
  std::vector<std::pair<std::size_t, WebAnswer>> answers;
  if (pending_.empty()) {
    now_ = std::max(now_, until);
    return answers;
  }
  const WebTime next =
      std::min_element(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) {
        return a.at < b.at;
      })->at;
  if (next > until) {
    now_ = std::max(now_, until);
    return answers;
  }
  now_ = std::max(now_, next);
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (it->at == next) {
      --open_[it->host];
      answers.emplace_back(it->ticket, it->answer);
      it = pending_.erase(it);
    } else {
      ++it;
    }
  }
  return answers;
}

std::size_t FakeWebClient::RequestsTo(const std::string& url) const {
  return static_cast<std::size_t>(std::count_if(
      starts_.begin(), starts_.end(), [&](const struct Start& s) { return s.url == url; }));
}

}  // namespace quorva
