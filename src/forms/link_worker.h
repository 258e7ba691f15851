#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "forms/desktop.h"

namespace vs {

// The serial line's own thread. Every exchange with the controller runs here,
// so that the window's thread never waits on the line: the window's thread
// hands over one job at a time and gets it back as an event posted to itself
// (Desktop::postEvent). Nothing but the jobs touches the master or its port.
//
// Everything except the jobs themselves is called on the window's thread.
class LinkWorker {
 public:
  // What the window's side wants to know of the line.
  class Listener {
   public:
    // The window has started (true) or stopped (false) waiting for a job.
    virtual void lineWaiting(bool waiting) = 0;
    // The last job's result has been handled and no other is out.
    virtual void lineIdle() = 0;

   protected:
    ~Listener() = default;
  };

  // Exchanges counted by the master that the window's side uses (LineMaster)
  // since the last reset: what a stopped sequence left behind.
  struct Tally {
    int writesSent = 0;
    int writesNotSent = 0;
  };

  explicit LinkWorker(Desktop& window);
  ~LinkWorker();  // halt()
  LinkWorker(const LinkWorker&) = delete;
  LinkWorker& operator=(const LinkWorker&) = delete;

  // Hands the idle line a job: `work` runs on the worker, then `done` (if
  // any) on the window's thread, from its event loop. False, and nothing
  // happens, while another job is out, while the window waits (wait()) or
  // after shutDown().
  bool start(std::function<void()> work, std::function<void()> done);
  // Runs `work` on the worker while the window's event loop goes on, nested,
  // and returns once it has run; a job still out is seen through first. False
  // without running it after shutDown(), or when the window is already
  // waiting for another (a request is never made in the middle of another).
  bool wait(std::function<void()> work);

  bool busy() const { return busy_; }  // a job is out, or its result not yet handled
  bool waiting() const { return waiting_; }

  // The sequence of requests in progress stops after the exchange in hand:
  // a failed attempt is not retried, and the window's side sends nothing more
  // until the stop is cleared.
  void requestStop() { stop_ = true; }
  void clearStop() { stop_ = false; }
  bool stopRequested() const { return stop_.load(); }
  const std::atomic<bool>& stopFlag() const { return stop_; }

  const Tally& tally() const { return tally_; }
  void resetTally() { tally_ = {}; }
  void countExchange(bool write, bool sent);

  // Lets the job in hand finish with its retries cut short (its result is
  // handled), runs `last` on the worker (closing the port) and ends the
  // thread. Jobs are refused from then on.
  void shutDown(std::function<void()> last = {});
  bool isShutDown() const { return shutDown_; }
  // Ends the thread once the job in hand has run, handing nothing back; for
  // an owner that is going away.
  void halt();

  void addListener(Listener* listener);
  void removeListener(Listener* listener);

 private:
  void run();
  bool hand(std::function<void()> work, std::function<void()> done);
  void finished();  // on the window's thread, once a job has run
  void tellWaiting(bool waiting);
  void tellIdle();
  void tell(const std::function<void(Listener&)>& what);
  void end(std::function<void()> last);

  Desktop& window_;
  // What the events handed back hold on to: an event that arrives after the
  // worker has gone does nothing.
  std::shared_ptr<LinkWorker*> self_ = std::make_shared<LinkWorker*>(this);
  std::vector<Listener*> listeners_;
  std::function<void()> done_;
  bool busy_ = false;
  bool waiting_ = false;
  bool shutDown_ = false;
  std::atomic<bool> stop_{false};
  Tally tally_;

  // Shared with the worker.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> job_;
  std::function<void()> last_;
  bool quit_ = false;

  std::thread thread_;  // last: starts once everything above is in place
};

}  // namespace vs
