#include "forms/line_master.h"

#include <cstring>
#include <utility>

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
  jobAction_ = action_;
  slave_ = slave;
  function_ = function;
  requestLength_ = requestLength;
  replyLength_ = replyLength;
  if (requestLength > 0) std::memcpy(request_, request, static_cast<std::size_t>(requestLength));
  const bool ran = worker_.wait([this] {
    const JournalAction action(target_, jobAction_.name, jobAction_.file);
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

bool LineMaster::withJournal(const std::function<void(JournalingMaster&)>& work) {
  if (worker_.stopRequested()) return false;
  jobAction_ = action_;
  return worker_.wait([this, &work] {
    const JournalAction action(target_, jobAction_.name, jobAction_.file);
    work(target_);
  });
}

LineAction::LineAction(LineMaster& master, std::string name, std::filesystem::path file)
    : master_(master), previous_(std::move(master.action_)) {
  master_.action_ = {std::move(name), std::move(file)};
}

LineAction::~LineAction() { master_.action_ = std::move(previous_); }

}  // namespace vs
