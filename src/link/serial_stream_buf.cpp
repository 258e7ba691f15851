#include "link/serial_stream_buf.h"

#include <algorithm>
#include <cstring>

namespace vs {

bool SerialStreamBuf::isOpen() const { return native_ != nullptr; }

bool SerialStreamBuf::open(const SerialStreamSettings& settings) {
  if (isOpen() || !openPort(settings)) return false;
  settings_ = settings;
  char* const start = readBuffer_ + kPutbackSize;
  setg(start, start, start);
  return true;
}

bool SerialStreamBuf::close() {
  if (!isOpen()) return false;
  if (eventThread_.joinable()) {
    post(nullptr);
    eventThread_.join();
    const std::lock_guard<std::mutex> lock(mailboxLock_);
    requests_.clear();
    stopPosted_ = false;
  }
  closePort();
  return true;
}

bool SerialStreamBuf::requestNotification(const CommNotifyRequest& request) {
  if (!isOpen()) return false;
  if (!eventThread_.joinable() && !startEventThread()) return false;
  if ((request.eventMask & COMM_EV_RXFLAG) != 0 && settings_.eventChar != request.eventChar) {
    if (!applyEventChar(request.eventChar)) return false;
    settings_.eventChar = request.eventChar;
  }
  post(&request);
  return true;
}

auto SerialStreamBuf::underflow() -> int_type {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (!isOpen()) return traits_type::eof();
  // Keep the last few characters read for putback.
  char* const start = readBuffer_ + kPutbackSize;
  const std::ptrdiff_t keep = std::min<std::ptrdiff_t>(gptr() - eback(), kPutbackSize);
  if (keep > 0) std::memmove(start - keep, gptr() - keep, static_cast<std::size_t>(keep));
  const std::streamsize got = readAvailable(start, kReadSize);
  setg(start - keep, start, start + std::max<std::streamsize>(got, 0));
  return got > 0 ? traits_type::to_int_type(*gptr()) : traits_type::eof();
}

auto SerialStreamBuf::overflow(int_type c) -> int_type {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  return isOpen() && writeAll(&ch, 1) ? c : traits_type::eof();
}

std::streamsize SerialStreamBuf::xsputn(const char* data, std::streamsize count) {
  return isOpen() && writeAll(data, count) ? count : 0;
}

void SerialStreamBuf::post(const CommNotifyRequest* request) {
  {
    const std::lock_guard<std::mutex> lock(mailboxLock_);
    if (request != nullptr) {
      requests_.push_back(*request);
    } else {
      stopPosted_ = true;
    }
  }
  wakeEventThread();
}

bool SerialStreamBuf::stopPosted() {
  const std::lock_guard<std::mutex> lock(mailboxLock_);
  return stopPosted_;
}

bool SerialStreamBuf::takeRequest(CommNotifyRequest* request) {
  const std::lock_guard<std::mutex> lock(mailboxLock_);
  while (!requests_.empty()) {
    *request = std::move(requests_.front());
    requests_.pop_front();
    // Other message kinds are not answered, as a thread ignores messages it
    // does not know.
    if (request->kind == COMM_NOTIFY_THREAD || request->kind == COMM_NOTIFY_WINDOW) return true;
  }
  return false;
}

}  // namespace vs
