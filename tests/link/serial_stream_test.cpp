#include "link/serial_stream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "link/send_exit_command.h"
#include "link/serial_port.h"
#include "scripted_slave.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

std::ptrdiff_t threadCount() {
  return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                       std::filesystem::directory_iterator());
}

// A joined thread may linger in /proc for a moment after it has ended.
bool threadCountSettlesAt(std::ptrdiff_t expected) {
  for (int i = 0; i < 500 && threadCount() != expected; ++i) std::this_thread::sleep_for(10ms);
  return threadCount() == expected;
}

struct Warning {
  std::string text;
  std::string caption;
};

ExitCommandWindow recordingWindow(std::vector<Warning>* warnings) {
  return {{}, [warnings](const std::string& text, const std::string& caption) {
            warnings->push_back({text, caption});
          }};
}

TEST(SendExitCommand, SendsExactlyOutOnAFreePort) {
  PtyPair line;
  std::vector<Warning> warnings;
  SendExitCommand(recordingWindow(&warnings), line.path(), 9600, EXIT_COMMAND_OUT);
  EXPECT_EQ(line.drain(200ms), (Bytes{'O', 'U', 'T'}));
  EXPECT_TRUE(warnings.empty());

  SerialPort after;  // the stream let the port go
  EXPECT_EQ(after.open(line.path()), SERIAL_OK);
}

TEST(SendExitCommand, WarnsWhenAnotherProgramHoldsThePort) {
  PtyPair line;
  SerialPort holder;
  ASSERT_EQ(holder.open(line.path()), SERIAL_OK);
  std::vector<Warning> warnings;
  SendExitCommand(recordingWindow(&warnings), line.path(), 9600, EXIT_COMMAND_OUT);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].text,
            "Another program is using the selected communication port.\nFree the port and try "
            "again.");
  EXPECT_EQ(warnings[0].caption, "Notice(B_19200)");
  EXPECT_TRUE(line.drain(100ms).empty());
}

using Event = std::pair<std::uint32_t, std::uint32_t>;  // events, error

class SerialStreamOnPty : public ::testing::Test {
 protected:
  // Requests the default wait (the event character, a line feed); the future
  // holds what the target heard.
  std::future<Event> armWait() {
    CommNotifyRequest request;
    request.target = [this](std::uint32_t events, std::uint32_t error) {
      heard_.set_value({events, error});
    };
    stream.requestNotification(request);
    return heard_.get_future();
  }

  std::promise<Event> heard_;  // outlives the stream and its event thread
  PtyPair line;
  PendingInput watch{line.path()};
  SerialStream stream{SerialStreamSettings(line.path())};
};

TEST_F(SerialStreamOnPty, ReadsWhatArrivedAndEndsAtOnceWhenNothingHas) {
  ASSERT_TRUE(stream.isOpen());
  EXPECT_EQ(stream.get(), std::char_traits<char>::eof());
  EXPECT_TRUE(stream.eof());

  stream.clear();
  line.write({'4', '2', ' ', 'x'});
  ASSERT_TRUE(watch.waitFor(4));
  int number = 0;
  std::string word;
  stream >> number >> word;
  EXPECT_EQ(number, 42);
  EXPECT_EQ(word, "x");
}

TEST_F(SerialStreamOnPty, ReportsALineEventOnceThroughTheTarget) {
  auto event = armWait();
  ASSERT_TRUE(stream.good());
  line.write({'o', 'k', '\n'});
  ASSERT_EQ(event.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(event.get(), (Event{COMM_EV_RXFLAG, 0}));
}

TEST_F(SerialStreamOnPty, AHangUpIsReportedAsAFailedWait) {
  auto event = armWait();
  line.closeMaster();
  ASSERT_EQ(event.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(event.get(), (Event{0, EIO}));
}

TEST_F(SerialStreamOnPty, ClosingEndsAWaitingEventThread) {
  // A thread runtime that starts a thread of its own along with the first
  // (ThreadSanitizer does) has done so before the count.
  std::thread([] {}).join();
  const auto before = threadCount();
  stream.requestNotification(CommNotifyRequest{});
  stream.requestNotification(CommNotifyRequest{});
  EXPECT_EQ(threadCount(), before + 1);
  stream.close();
  EXPECT_TRUE(stream.good());
  EXPECT_FALSE(stream.isOpen());
  EXPECT_TRUE(threadCountSettlesAt(before));
  stream.close();
  EXPECT_TRUE(stream.fail());
}

TEST(SerialStream, APortThatCannotOpenLeavesTheStreamFailed) {
  SerialStream stream{SerialStreamSettings("/dev/valvescope-no-such-port")};
  EXPECT_FALSE(stream.isOpen());
  EXPECT_TRUE(stream.fail());
  stream << "OUT";
  stream.requestNotification(CommNotifyRequest{});
  EXPECT_FALSE(stream.isOpen());
}

}  // namespace
}  // namespace vs::test
