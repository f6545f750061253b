#include "platform/threaded_web_client.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace quorva {

namespace {

using Clock = std::chrono::steady_clock;

struct Job {
  std::uint64_t id = 0;
  std::size_t ticket = 0;
  WebRequest request;
  Clock::time_point deadline;
};

// A request started and not yet answered.
struct Running {
  std::size_t ticket = 0;
  int timeout_seconds = 0;
  Clock::time_point deadline;
  bool given_up = false;  // reported as timed out; its late answer is dropped
};

struct Worker {
  std::thread thread;
  bool busy = false;
  bool exited = false;
  Clock::time_point deadline;  // of the request it fetches, while busy
};

}  // namespace

struct ThreadedWebClient::State {
  WebFetcherFactory factory;
  std::chrono::milliseconds grace{0};
  Clock::time_point origin = Clock::now();
  std::atomic<bool> cancel{false};

  std::mutex mutex;
  std::condition_variable jobs_changed;     // to the workers
  std::condition_variable answers_changed;  // to Wait and the destructor
  std::deque<Job> queue;
  std::map<std::uint64_t, Running> running;
  std::vector<std::pair<std::size_t, WebAnswer>> answers;
  std::list<Worker> workers;
  std::size_t idle = 0;      // workers waiting for a job
  std::size_t starting = 0;  // workers made that are not waiting yet
  std::uint64_t next_id = 0;
  bool stopping = false;
};

namespace {

using State = ThreadedWebClient::State;

void RunWorker(std::shared_ptr<State> state, Worker* self) {
  std::unique_ptr<WebFetcher> fetcher;
  if (state->factory) {
    fetcher = state->factory();
  }
  std::unique_lock<std::mutex> lock(state->mutex);
  --state->starting;
  while (true) {
    ++state->idle;
    state->jobs_changed.wait(lock, [&] { return state->stopping || !state->queue.empty(); });
    --state->idle;
    if (state->stopping) {
      break;
    }
    Job job = std::move(state->queue.front());
    state->queue.pop_front();
    auto running = state->running.find(job.id);
    if (running == state->running.end() || running->second.given_up) {
      if (running != state->running.end()) {
        state->running.erase(running);
      }
      continue;
    }
    self->busy = true;
    self->deadline = job.deadline;
    lock.unlock();
    WebAnswer answer;
    if (fetcher) {
      answer = fetcher->Fetch(job.request, state->cancel);
    } else {
      answer.failure = WebFailure::kOther;
      answer.detail = "the web client could not be set up";
    }
    lock.lock();
    self->busy = false;
    running = state->running.find(job.id);
    if (running != state->running.end()) {
      if (!running->second.given_up) {
        state->answers.emplace_back(job.ticket, std::move(answer));
      }
      state->running.erase(running);
    }
    state->answers_changed.notify_all();
  }
  lock.unlock();
  fetcher.reset();
  lock.lock();
  self->exited = true;
  state->answers_changed.notify_all();
}

}  // namespace

ThreadedWebClient::ThreadedWebClient(WebFetcherFactory factory,
                                     std::chrono::milliseconds overrun_grace)
    : state_(std::make_shared<State>()) {
  state_->factory = std::move(factory);
  state_->grace = overrun_grace;
}

ThreadedWebClient::~ThreadedWebClient() {
  std::list<Worker> workers;
  {
    std::unique_lock<std::mutex> lock(state_->mutex);
    state_->stopping = true;
    state_->cancel = true;
    state_->jobs_changed.notify_all();
    // Waits for every worker to end, except those stuck in a fetch past its deadline.
    while (true) {
      Clock::time_point now = Clock::now();
      Clock::time_point next = Clock::time_point::max();
      bool waiting = false;
      for (const Worker& worker : state_->workers) {
        if (worker.exited || (worker.busy && worker.deadline <= now)) {
          continue;
        }
        waiting = true;
        if (worker.busy && worker.deadline < next) {
          next = worker.deadline;
        }
      }
      if (!waiting) {
        break;
      }
      if (next == Clock::time_point::max()) {
        state_->answers_changed.wait(lock);
      } else {
        state_->answers_changed.wait_until(lock, next);
      }
    }
    // A worker's entry stays with the state while its thread may still use it.
    for (auto it = state_->workers.begin(); it != state_->workers.end(); ++it) {
      if (it->exited) {
        workers.emplace_back();
        std::swap(workers.back().thread, it->thread);
      } else {
        it->thread.detach();
      }
    }
  }
  for (Worker& worker : workers) {
    worker.thread.join();
  }
}

void ThreadedWebClient::Start(std::size_t ticket, const WebRequest& request) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  Job job;
  job.id = state_->next_id++;
  job.ticket = ticket;
  job.request = request;
  job.deadline = Clock::now() + std::chrono::seconds(request.timeout_seconds) + state_->grace;
  Running running;
  running.ticket = ticket;
  running.timeout_seconds = request.timeout_seconds;
  running.deadline = job.deadline;
  state_->running.emplace(job.id, running);
  state_->queue.push_back(std::move(job));
  if (state_->idle + state_->starting < state_->queue.size()) {
    state_->workers.emplace_back();
    Worker* worker = &state_->workers.back();
    try {
      worker->thread = std::thread(RunWorker, state_, worker);
      ++state_->starting;
    } catch (const std::system_error&) {
      // No thread: the request is given up as timed out at its deadline, unless a worker that
      // frees up takes it first.
      state_->workers.pop_back();
    }
  }
  state_->jobs_changed.notify_one();
}

std::vector<std::pair<std::size_t, WebAnswer>> ThreadedWebClient::Wait(WebTime until) {
  std::unique_lock<std::mutex> lock(state_->mutex);
  // WebTime::max() means no deadline; it is kept clear of the clock's range, which counts in
  // finer units and would overflow.
  constexpr auto kLongest = std::chrono::hours(24 * 365);
  const Clock::time_point end =
      until >= kLongest ? Clock::now() + kLongest : state_->origin + until;
  while (true) {
    Clock::time_point now = Clock::now();
    Clock::time_point next = end;
    for (auto& [id, running] : state_->running) {
      if (running.given_up) {
        continue;
      }
      if (running.deadline <= now) {
        running.given_up = true;
        WebAnswer answer;
        answer.failure = WebFailure::kTimeout;
        answer.detail = "no answer within " + std::to_string(running.timeout_seconds) + " s";
        state_->answers.emplace_back(running.ticket, std::move(answer));
      } else if (running.deadline < next) {
        next = running.deadline;
      }
    }
    if (!state_->answers.empty() || now >= end) {
      break;
    }
    state_->answers_changed.wait_until(lock, next);
  }
  std::vector<std::pair<std::size_t, WebAnswer>> answers;
  answers.swap(state_->answers);
  return answers;
}

WebTime ThreadedWebClient::Now() {
  return std::chrono::duration_cast<WebTime>(Clock::now() - state_->origin);
}

std::size_t ThreadedWebClient::WorkerCount() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->workers.size();
}

}  // namespace quorva
