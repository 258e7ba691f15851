// The application's poll tick (registers 12 x 20, 114 x 10, 39 x 6, 89 x 2,
// read one after the other) against the simulated controller on a pty.
//
// Paced at 9600 baud: the median tick against the line's own limit, which is
// the 128 bytes of the four exchanges at 10 bits a character, the master's
// four 5 ms silence waits and the controller's four 3.5-character turnarounds.
// libmodbus, which waits for no silence, shows what the simulator itself takes.
//
// The same tick as the program makes it: handed to the link worker, its
// answer handed back to the window's thread as a posted event.
//
// Unpaced: transactions a second and CPU time per transaction of our master
// and of libmodbus. Prints figures; asserts nothing.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "forms/desktop.h"
#include "forms/link_worker.h"
#include "link/modbus_rtu_master.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"

#ifdef VS_WITH_LIBMODBUS
#include <modbus.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Block {
  int first;
  int count;
};
constexpr Block kLiveBlocks[] = {{12, 20}, {114, 10}, {39, 6}, {89, 2}};
constexpr int kBaud = 9600;
constexpr int kWarmUpTicks = 5;
constexpr int kTicks = 60;
constexpr int kUnpacedTransactions = 2000;

// Reads one block (1-based first register); false on failure.
using ReadBlock = std::function<bool(const Block&, std::int16_t*)>;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// CPU time of the calling thread only: the simulator serves from its own.
double threadCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool tick(const ReadBlock& read) {
  std::int16_t registers[125];
  for (const Block& block : kLiveBlocks) {
    if (!read(block, registers)) return false;
  }
  return true;
}

// Median tick in ms, or a negative value when a read failed.
double pacedTick(const ReadBlock& read) {
  std::vector<double> ticks;
  for (int i = 0; i < kWarmUpTicks + kTicks; ++i) {
    const auto start = Clock::now();
    if (!tick(read)) return -1;
    if (i >= kWarmUpTicks) ticks.push_back(ms(Clock::now() - start));
  }
  return median(ticks);
}

// A window that only takes the link worker's events, on this thread.
class EventQueue : public vs::Desktop {
 public:
  void postEvent(std::function<void()> event) override {
    {
      std::lock_guard lock(mutex_);
      events_.push_back(std::move(event));
    }
    arrived_.notify_one();
  }
  void runNext() {
    std::function<void()> event;
    {
      std::unique_lock lock(mutex_);
      arrived_.wait(lock, [this] { return !events_.empty(); });
      event = std::move(events_.front());
      events_.pop_front();
    }
    event();
  }
  void startTimer(int, int) override {}
  void killTimer(int) override {}
  void postCommand(int) override {}
  int messageBox(const std::string&, const std::string&, vs::Icon, vs::Buttons, bool) override {
    return vs::ANSWER_OK;
  }
  int runForm(vs::Form&) override { return -1; }
  void invalidate(bool) override {}
  void setTitle(const std::string&) override {}
  void setStatusText(int, const std::string&) override {}
  std::optional<std::string> chooseFile(const vs::FileDialogRequest&) override { return {}; }
  void waitForLine(const std::function<bool()>& done) override {
    while (!done()) runNext();
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> events_;
};

// Median tick in ms from handing the reads over to handling the answer, or
// a negative value when a read failed.
double workerTick(const ReadBlock& read) {
  EventQueue window;
  vs::LinkWorker worker(window);
  std::vector<double> ticks;
  for (int i = 0; i < kWarmUpTicks + kTicks; ++i) {
    bool read4 = false;
    bool answered = false;
    const auto start = Clock::now();
    worker.start([&] { read4 = tick(read); }, [&] { answered = true; });
    while (!answered) window.runNext();
    if (!read4) return -1;
    if (i >= kWarmUpTicks) ticks.push_back(ms(Clock::now() - start));
  }
  return median(ticks);
}

struct Rate {
  double perSecond = 0;
  double cpuUsPerTransaction = 0;
};

Rate unpacedRate(const ReadBlock& read) {
  std::int16_t registers[125];
  const auto start = Clock::now();
  const double cpuStart = threadCpuMs();
  for (int i = 0; i < kUnpacedTransactions; ++i) {
    if (!read(kLiveBlocks[i % 4], registers)) return {};
  }
  const double seconds = ms(Clock::now() - start) / 1e3;
  return {kUnpacedTransactions / seconds, (threadCpuMs() - cpuStart) * 1e3 / kUnpacedTransactions};
}

class OurMaster {
 public:
  explicit OurMaster(const std::string& port) {
    master_.setRetries(3);
    ok_ = master_.open(port, kBaud, 8, 1, 0) == vs::MODBUS_OK;
  }
  bool ok() const { return ok_; }
  ReadBlock reader() {
    return [this](const Block& b, std::int16_t* out) {
      return master_.readHoldingRegisters(1, b.first, out, b.count) == vs::MODBUS_OK;
    };
  }

 private:
  vs::ModbusRtuMaster master_;
  bool ok_ = false;
};

#ifdef VS_WITH_LIBMODBUS
class LibmodbusMaster {
 public:
  explicit LibmodbusMaster(const std::string& port)
      : ctx_(modbus_new_rtu(port.c_str(), kBaud, 'N', 8, 1)) {
    if (ctx_ == nullptr) return;
    modbus_set_slave(ctx_, 1);
    modbus_set_response_timeout(ctx_, 1, 0);
    ok_ = modbus_connect(ctx_) == 0;
  }
  ~LibmodbusMaster() {
    if (ctx_ == nullptr) return;
    if (ok_) modbus_close(ctx_);
    modbus_free(ctx_);
  }
  bool ok() const { return ok_; }
  ReadBlock reader() {
    return [this](const Block& b, std::int16_t* out) {
      return modbus_read_registers(ctx_, b.first - 1, b.count,
                                   reinterpret_cast<std::uint16_t*>(out)) == b.count;
    };
  }

 private:
  modbus_t* ctx_;
  bool ok_ = false;
};
#endif

// A simulated controller on a new pty, paced at `baud` (0: unpaced).
struct Line {
  explicit Line(int baud) : simulator(controller, vs::sim::LineOptions{baud, {}}) {
    started = simulator.start() == 0;
  }
  vs::sim::SimulatedController controller;
  vs::sim::PtySimulator simulator;
  bool started = false;
};

}  // namespace

int main() {
  int bytes = 0;
  for (const Block& block : kLiveBlocks) bytes += 8 + 5 + 2 * block.count;
  const double characterMs = 10.0 * 1000 / kBaud;
  const double lineMs = bytes * characterMs;
  const double silenceMs = 4.0 * vs::ModbusRtuMaster::silenceIntervalFor(kBaud);
  const double turnaroundMs = 4 * 3.5 * characterMs;
  const double limitMs = lineMs + silenceMs + turnaroundMs;

  std::printf("poll tick at %d baud, 8N1: %d bytes on the line\n", kBaud, bytes);
  std::printf("  limit: %.1f ms line + %.1f ms silence waits + %.1f ms turnarounds = %.1f ms\n",
              lineMs, silenceMs, turnaroundMs, limitMs);
  double ourTickMs = -1;
  {
    Line line(kBaud);
    OurMaster ours(line.simulator.path());
    if (!line.started || !ours.ok()) {
      std::fprintf(stderr, "cannot start the paced line\n");
      return 1;
    }
    ourTickMs = pacedTick(ours.reader());
    if (ourTickMs < 0) {
      std::fprintf(stderr, "a paced read failed\n");
      return 1;
    }
    std::printf("  ours: median of %d ticks %.1f ms, ratio to the limit %.3f (goal 1.10 or less)\n",
                kTicks, ourTickMs, ourTickMs / limitMs);
    const double handedMs = workerTick(ours.reader());
    std::printf("  ours through the link worker, answer posted back: median %.1f ms, ratio %.3f\n",
                handedMs, handedMs / limitMs);
  }
#ifdef VS_WITH_LIBMODBUS
  {
    Line line(kBaud);
    LibmodbusMaster theirs(line.simulator.path());
    const double tickMs = line.started && theirs.ok() ? pacedTick(theirs.reader()) : -1;
    if (tickMs >= 0) {
      // What the simulator itself takes for the exchanges; the rest is ours.
      std::printf("  libmodbus (no silence wait): median %.1f ms, ratio to the limit %.3f\n",
                  tickMs, tickMs / limitMs);
      std::printf("  ours - libmodbus: %.1f ms (our four silence waits: %.1f ms)\n",
                  ourTickMs - tickMs, silenceMs);
    }
  }
#endif

  std::printf("unpaced, %d reads of the live blocks in turn\n", kUnpacedTransactions);
  Rate ourRate;
  {
    Line line(0);
    OurMaster ours(line.simulator.path());
    if (line.started && ours.ok()) ourRate = unpacedRate(ours.reader());
    std::printf("  ours: %.0f transactions/s, %.1f us CPU per transaction\n", ourRate.perSecond,
                ourRate.cpuUsPerTransaction);
  }
#ifdef VS_WITH_LIBMODBUS
  {
    Line line(0);
    LibmodbusMaster theirs(line.simulator.path());
    Rate theirRate;
    if (line.started && theirs.ok()) theirRate = unpacedRate(theirs.reader());
    std::printf("  libmodbus: %.0f transactions/s, %.1f us CPU per transaction\n",
                theirRate.perSecond, theirRate.cpuUsPerTransaction);
    if (theirRate.perSecond > 0 && theirRate.cpuUsPerTransaction > 0) {
      std::printf("  ours / libmodbus: %.2f x the rate, %.2f x the CPU time\n",
                  ourRate.perSecond / theirRate.perSecond,
                  ourRate.cpuUsPerTransaction / theirRate.cpuUsPerTransaction);
    }
  }
#endif
  return 0;
}
