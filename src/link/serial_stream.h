#pragma once

#include <iostream>

#include "link/serial_stream_buf.h"
#include "link/serial_stream_settings.h"

namespace vs {

// A character stream on a serial port, opened at construction; a port that
// cannot be opened leaves the stream failed.
class SerialStream : public std::iostream {
 public:
  explicit SerialStream(const SerialStreamSettings& settings);

  bool isOpen() const { return buffer_.isOpen(); }
  void close();
  void requestNotification(const CommNotifyRequest& request);

 private:
  SerialStreamBuf buffer_;
};

}  // namespace vs
