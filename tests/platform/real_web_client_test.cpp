#include "platform/real_web_client.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "web/web_test_server.h"

namespace quorva {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

const char kUserAgent[] = "quorva-test/1";

class RealWebClientTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ClearProxyVariables(); }

  void SetUp() override {
    client_ = OpenRealWebClient(kUserAgent);
    ASSERT_NE(client_, nullptr);
    ASSERT_NE(server_.port(), 0) << server_.error();
  }

  // Sends one request and waits up to 20 s for its answer.
  WebAnswer Fetch(const std::string& url, bool head = true, int timeout_seconds = 10) {
    WebRequest request;
    request.url = url;
    request.head = head;
    request.timeout_seconds = timeout_seconds;
    client_->Start(42, request);
    WebTime end = client_->Now() + milliseconds(20000);
    while (client_->Now() < end) {
      auto answers = client_->Wait(end);
      if (!answers.empty()) {
        EXPECT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].first, 42u);
        return answers[0].second;
      }
    }
    ADD_FAILURE() << "no answer for " << url;
    return WebAnswer();
  }

  nlohmann::json Stats() { return nlohmann::json::parse(server_.Stats(), nullptr, false); }

  std::unique_ptr<WebClient> client_;
  WebTestServer server_;
};

TEST_F(RealWebClientTest, HeadGivesTheStatusAndTheHeadersAsSent) {
  WebAnswer ok = Fetch(server_.Url("/ok"));
  EXPECT_EQ(ok.failure, WebFailure::kNone) << ok.detail;
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(ok.location, "");
  EXPECT_EQ(Fetch(server_.Url("/missing")).status, 404);
  WebAnswer moved = Fetch(server_.Url("/moved"));
  EXPECT_EQ(moved.status, 301);
  EXPECT_EQ(moved.location, "/ok");  // not followed
  WebAnswer elsewhere = Fetch(server_.Url("/redirect-to?u=http://127.0.0.9:1/x"));
  EXPECT_EQ(elsewhere.status, 301);
  EXPECT_EQ(elsewhere.location, "http://127.0.0.9:1/x");
  WebAnswer busy = Fetch(server_.Url("/retry-long"));
  EXPECT_EQ(busy.status, 429);
  EXPECT_EQ(busy.retry_after, "120");
  EXPECT_EQ(Fetch(server_.Url("/head-405")).status, 405);
  EXPECT_EQ(Fetch(server_.Url("/head-405"), false).status, 200);

  nlohmann::json stats = Stats();
  ASSERT_TRUE(stats.is_object());
  std::vector<std::string> seen;
  for (const auto& request : stats["requests"]) {
    seen.push_back(request["method"].get<std::string>() + " " + request["path"].get<std::string>());
    EXPECT_EQ(request["user_agent"], kUserAgent);
    EXPECT_EQ(request["host"], "127.0.0.1:" + std::to_string(server_.port()));
  }
  // Each request went once, redirects unfollowed.
  EXPECT_EQ(seen,
            (std::vector<std::string>{"HEAD /ok", "HEAD /missing", "HEAD /moved",
                                      "HEAD /redirect-to?u=http://127.0.0.9:1/x",
                                      "HEAD /retry-long", "HEAD /head-405", "GET /head-405"}));
}

TEST_F(RealWebClientTest, GetReadsAtMostItsShareOfAHugeBodyAndCloses) {
  Clock::time_point start = Clock::now();
  WebAnswer huge = Fetch(server_.Url("/huge"), false);
  EXPECT_EQ(huge.failure, WebFailure::kNone) << huge.detail;
  EXPECT_EQ(huge.status, 200);
  EXPECT_LT(Clock::now() - start, milliseconds(5000));
  // The server stops sending once the connection closes.
  nlohmann::json stats;
  for (int tries = 0; tries < 100; ++tries) {
    stats = Stats();
    if (stats.is_object() && stats["open"] == 0) {
      break;
    }
    std::this_thread::sleep_for(milliseconds(50));
  }
  ASSERT_TRUE(stats.is_object());
  EXPECT_EQ(stats["open"], 0);
  long long sent = stats["bytes_sent"]["/huge"].get<long long>();
  EXPECT_GT(sent, 0);
  EXPECT_LT(sent, 20LL * 1024 * 1024);
}

TEST_F(RealWebClientTest, ConnectionsBrokenWithoutAnAnswerAreTold) {
  WebAnswer reset = Fetch(server_.Url("/reset"));
  WebAnswer closed = Fetch(server_.Url("/close"));
  EXPECT_EQ(reset.status, 0);
  EXPECT_EQ(closed.status, 0);
#ifdef _WIN32
  // Wine's WinHTTP tells a reset (WSAECONNRESET) only when the reset comes before it reads;
  // else it sees an end of the answer, as for a closed connection (12152).
  EXPECT_TRUE(reset.failure == WebFailure::kReset || reset.failure == WebFailure::kClosed)
      << reset.detail;
#else
  EXPECT_EQ(reset.failure, WebFailure::kReset) << reset.detail;
#endif
  EXPECT_EQ(closed.failure, WebFailure::kClosed) << closed.detail;
  EXPECT_NE(reset.detail, "");
}

TEST_F(RealWebClientTest, APortNobodyListensOnRefuses) {
  int port = FreeLoopbackPort();
  ASSERT_NE(port, 0);
  WebAnswer refused = Fetch("http://127.0.0.1:" + std::to_string(port) + "/ok");
  EXPECT_EQ(refused.failure, WebFailure::kRefused) << refused.detail;
  EXPECT_EQ(refused.status, 0);
}

TEST_F(RealWebClientTest, AnAnswerLaterThanTheTimeoutTimesOut) {
  Clock::time_point start = Clock::now();
  WebAnswer slow = Fetch(server_.Url("/slow?s=5"), true, 1);
  EXPECT_EQ(slow.failure, WebFailure::kTimeout) << slow.detail;
#ifdef _WIN32
  // Wine's WinHTTP waits for the answer all the same: the client gives up on it 2 s later.
  EXPECT_LT(Clock::now() - start, milliseconds(4500));
#else
  EXPECT_LT(Clock::now() - start, milliseconds(2500));
#endif
}

TEST_F(RealWebClientTest, ManyRequestsRunAtOnce) {
  Clock::time_point start = Clock::now();
  for (std::size_t ticket = 0; ticket < 32; ++ticket) {
    WebRequest request;
    request.url = server_.Url("/delay-ok?ms=1000&n=" + std::to_string(ticket));
    client_->Start(ticket, request);
  }
  std::map<std::size_t, WebAnswer> answers;
  WebTime end = client_->Now() + milliseconds(20000);
  while (answers.size() < 32 && client_->Now() < end) {
    for (auto& [ticket, answer] : client_->Wait(end)) {
      answers[ticket] = answer;
    }
  }
  ASSERT_EQ(answers.size(), 32u);
  for (const auto& [ticket, answer] : answers) {
    EXPECT_EQ(answer.status, 200) << ticket << ": " << answer.detail;
  }
  EXPECT_LT(Clock::now() - start, milliseconds(8000));
  nlohmann::json stats = Stats();
  ASSERT_TRUE(stats.is_object());
  EXPECT_EQ(stats["max_open"]["127.0.0.1:" + std::to_string(server_.port())], 32);
}

TEST_F(RealWebClientTest, AnotherLoopbackAddressIsAnotherHost) {
  WebTestServer::Options options;
  options.host = "127.0.0.2";
  WebTestServer other(options);
  ASSERT_NE(other.port(), 0) << other.error();
  WebAnswer moved = Fetch(other.Url("/found"));
  EXPECT_EQ(moved.failure, WebFailure::kNone) << moved.detail;
  EXPECT_EQ(moved.status, 302);
  EXPECT_EQ(moved.location, "/ok");
  nlohmann::json stats = nlohmann::json::parse(other.Stats(), nullptr, false);
  ASSERT_TRUE(stats.is_object());
  EXPECT_EQ(stats["max_open"]["127.0.0.2:" + std::to_string(other.port())], 1);
}

TEST_F(RealWebClientTest, AnUntrustedCertificateIsTold) {
  WebTestServer::Options options;
  options.tls = true;
  WebTestServer tls(options);
  ASSERT_NE(tls.port(), 0) << tls.error();
  WebAnswer answer = Fetch(tls.Url("/ok"));
  EXPECT_EQ(answer.status, 0);
  EXPECT_NE(answer.detail, "");
#ifdef _WIN32
  // Wine's WinHTTP refuses the certificate with a plain secure channel error (12157), which
  // Windows gives for other TLS failures too: only that it fails is checked here.
  EXPECT_NE(answer.failure, WebFailure::kNone) << answer.detail;
#else
  EXPECT_EQ(answer.failure, WebFailure::kCertificate) << answer.detail;
#endif
}

}  // namespace
}  // namespace quorva
