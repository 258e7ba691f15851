#include "forms/link_worker.h"

#include <algorithm>
#include <utility>

namespace vs {

LinkWorker::LinkWorker(Desktop& window) : window_(window), thread_([this] { run(); }) {}

LinkWorker::~LinkWorker() { halt(); }

void LinkWorker::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || job_; });
    if (job_) {
      const auto job = std::move(job_);
      job_ = nullptr;
      lock.unlock();
      job();
      // Small enough to be kept inside the function object: handing a poll's
      // result back allocates nothing of ours.
      window_.postEvent([self = std::weak_ptr(self_)] {
        if (const auto worker = self.lock()) (*worker)->finished();
      });
      lock.lock();
      continue;
    }
    const auto last = std::move(last_);
    lock.unlock();
    if (last) last();
    return;
  }
}

bool LinkWorker::start(std::function<void()> work, std::function<void()> done) {
  return !waiting_ && hand(std::move(work), std::move(done));
}

bool LinkWorker::hand(std::function<void()> work, std::function<void()> done) {
  if (busy_ || shutDown_) return false;
  busy_ = true;
  done_ = std::move(done);
  {
    std::lock_guard lock(mutex_);
    job_ = std::move(work);
  }
  wake_.notify_one();
  return true;
}

void LinkWorker::finished() {
  busy_ = false;
  if (const auto done = std::exchange(done_, nullptr)) done();
  // A wait tells its listeners itself, once it is over.
  if (!busy_ && !waiting_) tellIdle();
}

bool LinkWorker::wait(std::function<void()> work) {
  if (waiting_ || shutDown_) return false;
  tellWaiting(true);
  // A job out by itself (a poll) is seen through first and its result
  // handled, as if it had held the window as long as it took.
  if (busy_) window_.waitForLine([this] { return !busy_; });
  bool ran = false;
  if (hand(std::move(work), [&ran] { ran = true; })) {
    window_.waitForLine([&ran] { return ran; });
  }
  tellWaiting(false);
  if (!busy_) tellIdle();
  return ran;
}

void LinkWorker::tellWaiting(bool waiting) {
  waiting_ = waiting;
  tell([waiting](Listener& listener) { listener.lineWaiting(waiting); });
}

void LinkWorker::tellIdle() {
  tell([](Listener& listener) { listener.lineIdle(); });
}

// What a listener does when told may add or remove listeners: those there at
// the start are told, unless removed by then.
void LinkWorker::tell(const std::function<void(Listener&)>& what) {
  for (Listener* listener : std::vector(listeners_)) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
      what(*listener);
    }
  }
}

void LinkWorker::countExchange(bool write, bool sent) {
  if (!write) return;
  ++(sent ? tally_.writesSent : tally_.writesNotSent);
}

void LinkWorker::shutDown(std::function<void()> last) {
  if (shutDown_) return;
  requestStop();
  if (busy_) window_.waitForLine([this] { return !busy_; });
  end(std::move(last));
}

void LinkWorker::halt() {
  if (!shutDown_) end({});
  self_.reset();
}

void LinkWorker::end(std::function<void()> last) {
  shutDown_ = true;
  stop_ = true;
  {
    std::lock_guard lock(mutex_);
    last_ = std::move(last);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void LinkWorker::addListener(Listener* listener) { listeners_.push_back(listener); }

void LinkWorker::removeListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace vs
