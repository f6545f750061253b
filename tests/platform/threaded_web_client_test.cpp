#include "platform/threaded_web_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace quorva {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// What the fake fetchers share with a test: how many fetchers were made, how many fetches run
// now and at most, and a gate that holds fetches of "/hold" URLs until the test opens it.
struct FakeWeb {
  std::mutex mutex;
  std::condition_variable changed;
  int fetchers = 0;
  int running = 0;
  int max_running = 0;
  int finished = 0;
  bool gate_open = false;
  int wait_for_running = 0;  // each fetch waits (up to 5 s) until this many have run at once
};

class FakeFetcher : public WebFetcher {
 public:
  explicit FakeFetcher(std::shared_ptr<FakeWeb> web) : web_(std::move(web)) {}
  WebAnswer Fetch(const WebRequest& request, const std::atomic<bool>& cancel) override {
    std::unique_lock<std::mutex> lock(web_->mutex);
    ++web_->running;
    web_->max_running = std::max(web_->max_running, web_->running);
    web_->changed.notify_all();
    web_->changed.wait_for(lock, std::chrono::seconds(5),
                           [&] { return web_->max_running >= web_->wait_for_running; });
    WebAnswer answer;
    if (request.url.find("/hold") != std::string::npos) {
      web_->changed.wait(lock, [&] { return web_->gate_open; });
      answer.status = 299;
    } else if (request.url.find("/until-cancel") != std::string::npos) {
      while (!cancel) {
        web_->changed.wait_for(lock, milliseconds(10));
      }
      answer.status = 298;
    } else {
      answer.status = std::stoi(request.url.substr(request.url.rfind('/') + 1));
      answer.location = request.head ? "head" : "get";
    }
    --web_->running;
    ++web_->finished;
    web_->changed.notify_all();
    return answer;
  }

 private:
  std::shared_ptr<FakeWeb> web_;
};

WebFetcherFactory FakeFactory(const std::shared_ptr<FakeWeb>& web) {
  return [web]() -> std::unique_ptr<WebFetcher> {
    {
      std::lock_guard<std::mutex> lock(web->mutex);
      ++web->fetchers;
    }
    return std::make_unique<FakeFetcher>(web);
  };
}

WebRequest Request(const std::string& path, int timeout_seconds = 30) {
  WebRequest request;
  request.url = "http://example.org" + path;
  request.timeout_seconds = timeout_seconds;
  return request;
}

// Collects answers until `count` have come or 10 s have passed.
std::map<std::size_t, WebAnswer> Collect(WebClient& client, std::size_t count) {
  std::map<std::size_t, WebAnswer> answers;
  WebTime end = client.Now() + milliseconds(10000);
  while (answers.size() < count && client.Now() < end) {
    for (auto& [ticket, answer] : client.Wait(end)) {
      EXPECT_TRUE(answers.emplace(ticket, answer).second) << "ticket " << ticket << " twice";
    }
  }
  return answers;
}

TEST(ThreadedWebClientTest, AnswersComeBackWithTheirTickets) {
  auto web = std::make_shared<FakeWeb>();
  ThreadedWebClient client(FakeFactory(web));
  client.Start(7, Request("/200"));
  WebRequest get = Request("/404");
  get.head = false;
  client.Start(3, get);
  client.Start(11, Request("/301"));
  std::map<std::size_t, WebAnswer> answers = Collect(client, 3);
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[7].status, 200);
  EXPECT_EQ(answers[7].location, "head");
  EXPECT_EQ(answers[3].status, 404);
  EXPECT_EQ(answers[3].location, "get");
  EXPECT_EQ(answers[11].status, 301);
  EXPECT_EQ(answers[11].failure, WebFailure::kNone);
}

TEST(ThreadedWebClientTest, WaitReturnsNothingWhenItsTimeComesFirst) {
  auto web = std::make_shared<FakeWeb>();
  ThreadedWebClient client(FakeFactory(web));
  WebTime start = client.Now();
  EXPECT_TRUE(client.Wait(start + milliseconds(100)).empty());
  EXPECT_GE(client.Now() - start, milliseconds(100));
  EXPECT_LT(client.Now() - start, milliseconds(2000));
  // A time gone by already returns at once.
  EXPECT_TRUE(client.Wait(start).empty());
  EXPECT_EQ(client.WorkerCount(), 0u);
}

// The check waits with no deadline while requests run: that wait ends with the first answer,
// not at once, however far off "no deadline" lies.
TEST(ThreadedWebClientTest, AWaitWithoutDeadlineEndsWithTheFirstAnswer) {
  auto web = std::make_shared<FakeWeb>();
  ThreadedWebClient client(FakeFactory(web));
  client.Start(1, Request("/hold"));
  std::thread opener([web] {
    std::this_thread::sleep_for(milliseconds(200));
    std::lock_guard<std::mutex> lock(web->mutex);
    web->gate_open = true;
    web->changed.notify_all();
  });
  const auto answers = client.Wait(WebTime::max());
  opener.join();
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].second.status, 299);
}

TEST(ThreadedWebClientTest, RunsThirtyTwoRequestsAtOnceOnWorkersMadeAsNeeded) {
  auto web = std::make_shared<FakeWeb>();
  web->wait_for_running = 32;
  ThreadedWebClient client(FakeFactory(web));
  for (std::size_t ticket = 0; ticket < 32; ++ticket) {
    client.Start(ticket, Request("/" + std::to_string(200 + ticket)));
  }
  std::map<std::size_t, WebAnswer> answers = Collect(client, 32);
  ASSERT_EQ(answers.size(), 32u);
  for (const auto& [ticket, answer] : answers) {
    EXPECT_EQ(answer.status, static_cast<int>(200 + ticket));
  }
  EXPECT_EQ(web->max_running, 32);
  EXPECT_EQ(client.WorkerCount(), 32u);
  // The next round reuses the workers and their fetchers.
  for (std::size_t ticket = 100; ticket < 132; ++ticket) {
    client.Start(ticket, Request("/200"));
  }
  EXPECT_EQ(Collect(client, 32).size(), 32u);
  EXPECT_EQ(client.WorkerCount(), 32u);
  EXPECT_EQ(web->fetchers, 32);
}

TEST(ThreadedWebClientTest, OneWorkerServesRequestsOneAfterAnother) {
  auto web = std::make_shared<FakeWeb>();
  ThreadedWebClient client(FakeFactory(web));
  for (std::size_t ticket = 0; ticket < 5; ++ticket) {
    client.Start(ticket, Request("/200"));
    ASSERT_EQ(Collect(client, 1).count(ticket), 1u);
  }
  EXPECT_EQ(client.WorkerCount(), 1u);
  EXPECT_EQ(web->fetchers, 1);
}

TEST(ThreadedWebClientTest, AFetchThatOverrunsItsTimeoutIsReportedAsTimedOut) {
  auto web = std::make_shared<FakeWeb>();
  ThreadedWebClient client(FakeFactory(web), milliseconds(200));
  WebTime start = client.Now();
  client.Start(1, Request("/hold", 1));
  std::vector<std::pair<std::size_t, WebAnswer>> answers;
  while (answers.empty() && client.Now() < start + milliseconds(5000)) {
    answers = client.Wait(start + milliseconds(5000));
  }
  WebTime took = client.Now() - start;
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].first, 1u);
  EXPECT_EQ(answers[0].second.failure, WebFailure::kTimeout);
  EXPECT_EQ(answers[0].second.detail, "no answer within 1 s");
  EXPECT_GE(took, milliseconds(1200));
  EXPECT_LT(took, milliseconds(3000));

  // The stuck worker does not count as free: the next request gets a worker of its own, even
  // under the same ticket, and only its own answer comes.
  client.Start(1, Request("/204"));
  std::map<std::size_t, WebAnswer> next = Collect(client, 1);
  ASSERT_EQ(next.count(1), 1u);
  EXPECT_EQ(next[1].status, 204);
  EXPECT_EQ(client.WorkerCount(), 2u);

  // The late answer is dropped.
  {
    std::lock_guard<std::mutex> lock(web->mutex);
    web->gate_open = true;
    web->changed.notify_all();
  }
  {
    std::unique_lock<std::mutex> lock(web->mutex);
    ASSERT_TRUE(
        web->changed.wait_for(lock, std::chrono::seconds(5), [&] { return web->finished == 2; }));
  }
  EXPECT_TRUE(client.Wait(client.Now() + milliseconds(300)).empty());
}

TEST(ThreadedWebClientTest, AnswersOnTimeAreNotTakenForOverruns) {
  auto web = std::make_shared<FakeWeb>();
  ThreadedWebClient client(FakeFactory(web), milliseconds(0));
  client.Start(5, Request("/200", 1));
  std::map<std::size_t, WebAnswer> answers = Collect(client, 1);
  EXPECT_EQ(answers[5].status, 200);
  // Nothing more comes once the timeout has passed.
  EXPECT_TRUE(client.Wait(client.Now() + milliseconds(1300)).empty());
}

TEST(ThreadedWebClientTest, DestructionCancelsTheFetchesStillRunning) {
  auto web = std::make_shared<FakeWeb>();
  Clock::time_point start;
  {
    ThreadedWebClient client(FakeFactory(web));
    client.Start(1, Request("/until-cancel"));
    client.Start(2, Request("/until-cancel"));
    std::unique_lock<std::mutex> lock(web->mutex);
    ASSERT_TRUE(
        web->changed.wait_for(lock, std::chrono::seconds(5), [&] { return web->running == 2; }));
    start = Clock::now();
  }
  EXPECT_LT(Clock::now() - start, milliseconds(2000));
  EXPECT_EQ(web->finished, 2);
}

TEST(ThreadedWebClientTest, DestructionLeavesAWorkerStuckPastItsDeadline) {
  auto web = std::make_shared<FakeWeb>();
  Clock::time_point start;
  {
    ThreadedWebClient client(FakeFactory(web), milliseconds(100));
    client.Start(1, Request("/hold", 1));
    client.Start(2, Request("/200"));
    EXPECT_EQ(Collect(client, 2).size(), 2u);
    start = Clock::now();
  }
  // Gone at once: the stuck worker was past its deadline already.
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  // The detached worker ends when its fetch does, with what it shares still alive.
  {
    std::unique_lock<std::mutex> lock(web->mutex);
    web->gate_open = true;
    web->changed.notify_all();
    EXPECT_TRUE(
        web->changed.wait_for(lock, std::chrono::seconds(5), [&] { return web->finished == 2; }));
  }
}

TEST(ThreadedWebClientTest, DestructionWaitsForAFetchUntilItsDeadline) {
  auto web = std::make_shared<FakeWeb>();
  Clock::time_point start;
  {
    ThreadedWebClient client(FakeFactory(web), milliseconds(100));
    client.Start(1, Request("/hold", 1));
    {
      std::unique_lock<std::mutex> lock(web->mutex);
      ASSERT_TRUE(
          web->changed.wait_for(lock, std::chrono::seconds(5), [&] { return web->running == 1; }));
    }
    start = Clock::now();
    std::thread opener([web] {
      std::this_thread::sleep_for(milliseconds(300));
      std::lock_guard<std::mutex> lock(web->mutex);
      web->gate_open = true;
      web->changed.notify_all();
    });
    opener.detach();
  }
  // The fetch ended within its time, so the worker was joined after it.
  EXPECT_EQ(web->finished, 1);
  EXPECT_GE(Clock::now() - start, milliseconds(300));
  EXPECT_LT(Clock::now() - start, milliseconds(1100));
}

}  // namespace
}  // namespace quorva
