#include "link/serial_stream.h"

namespace vs {

SerialStream::SerialStream(const SerialStreamSettings& settings) : std::iostream(nullptr) {
  rdbuf(&buffer_);
  if (!buffer_.open(settings)) setstate(std::ios::failbit);
}

void SerialStream::close() {
  if (!buffer_.close()) setstate(std::ios::failbit);
}

void SerialStream::requestNotification(const CommNotifyRequest& request) {
  if (!buffer_.requestNotification(request)) setstate(std::ios::failbit);
}

}  // namespace vs
