#pragma once

#include <cstdint>

#include "forms/link_worker.h"
#include "link/modbus_master.h"

namespace vs {

// The master the main window's commands and the dialogs use, on the window's
// thread: each request is laid out here, exchanged by `target` on the link
// worker while the window's event loop goes on, and its reply checked here,
// so a sequence of requests still reads as one. A request made once a stop
// has been asked for is not sent and gives MODBUS_CANCELLED.
class LineMaster final : public ModbusMaster {
 public:
  LineMaster(LinkWorker& worker, ModbusMaster& target) : worker_(worker), target_(target) {}

  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

 private:
  LinkWorker& worker_;
  ModbusMaster& target_;
  // The exchange in hand, copied in and out on the window's thread; the
  // worker touches them only while the window waits for it.
  int slave_ = 0;
  int function_ = 0;
  int requestLength_ = 0;
  int replyLength_ = 0;
  int result_ = 0;
  std::uint8_t request_[kScratchSize] = {};
  std::uint8_t reply_[kScratchSize] = {};
};

}  // namespace vs
