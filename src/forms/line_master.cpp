#include "forms/line_master.h"

#include <cstring>

namespace vs {
namespace {

bool writes(int function) {
  switch (function) {
    case 5:
    case 6:
    case 15:
    case 16:
    case 22:
    case 23: return true;
    default: return false;
  }
}

bool fits(int length) { return length >= 0 && length <= ModbusMaster::kScratchSize; }

}  // namespace

int LineMaster::transact(int slave, int function, const std::uint8_t* request, int requestLength,
                         std::uint8_t* reply, int replyLength) {
  if (!fits(requestLength) || !fits(replyLength)) return MODBUS_BAD_ARGUMENT;
  const bool write = writes(function);
  if (worker_.stopRequested()) {
    worker_.countExchange(write, false);
    return MODBUS_CANCELLED;
  }
  slave_ = slave;
  function_ = function;
  requestLength_ = requestLength;
  replyLength_ = replyLength;
  if (requestLength > 0) std::memcpy(request_, request, static_cast<std::size_t>(requestLength));
  const bool ran = worker_.wait([this] {
    result_ = target_.transact(slave_, function_, request_, requestLength_, reply_, replyLength_);
  });
  if (!ran) {
    worker_.countExchange(write, false);
    return MODBUS_CANCELLED;
  }
  worker_.countExchange(write, true);
  if (result_ == MODBUS_OK && replyLength > 0) {
    std::memcpy(reply, reply_, static_cast<std::size_t>(replyLength));
  }
  return result_;
}

}  // namespace vs
