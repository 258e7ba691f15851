#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <streambuf>
#include <thread>

#include "link/serial_stream_settings.h"

namespace vs {

// A character stream buffer on a serial port. Reads return at once with what
// has arrived (nothing arrived is end of file); every write goes straight to
// the port, there is no write buffer. An optional event thread answers
// notification requests, one line event each.
class SerialStreamBuf : public std::streambuf {
 public:
  static constexpr int kPutbackSize = 4;
  static constexpr int kReadSize = 512;

  SerialStreamBuf();
  ~SerialStreamBuf() override;
  SerialStreamBuf(const SerialStreamBuf&) = delete;
  SerialStreamBuf& operator=(const SerialStreamBuf&) = delete;

  // Opens the port exclusively with the given line; false when already open
  // or when the port cannot be opened or set.
  bool open(const SerialStreamSettings& settings);
  // Stops the event thread, then closes the port; false when not open.
  bool close();
  bool isOpen() const;
  // Starts the event thread if needed and arms one wait for the request's
  // events; its target hears of the first one (or of the wait's failure),
  // on the event thread. Waits are armed in the order requested. On POSIX the
  // driver's input cannot be searched for the event character without taking
  // it from the reader, so a COMM_EV_RXFLAG wait ends when input is waiting.
  bool requestNotification(const CommNotifyRequest& request);

  const SerialStreamSettings& settings() const { return settings_; }

 protected:
  int_type underflow() override;
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize count) override;

 private:
  struct Native;  // the platform's handles

  // Platform parts.
  bool openPort(const SerialStreamSettings& settings);
  void closePort();
  bool applyEventChar(char eventChar);
  // What has arrived, up to `capacity` characters; 0 when nothing or failing.
  std::streamsize readAvailable(char* into, std::streamsize capacity);
  // True when all of `count` characters were written.
  bool writeAll(const char* data, std::streamsize count);
  bool startEventThread();
  void wakeEventThread();  // after a message was posted
  void eventLoop();

  // The event thread's mailbox: requests in order, and the order to stop.
  void post(const CommNotifyRequest* request);
  bool stopPosted();
  bool takeRequest(CommNotifyRequest* request);

  std::unique_ptr<Native> native_;
  std::thread eventThread_;
  std::mutex mailboxLock_;
  std::deque<CommNotifyRequest> requests_;
  bool stopPosted_ = false;
  SerialStreamSettings settings_;
  char readBuffer_[kPutbackSize + kReadSize] = {};
};

}  // namespace vs
