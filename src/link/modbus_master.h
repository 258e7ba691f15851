#pragma once

#include <cstdint>

#include "link/deadline_timer.h"
#include "link/frame_recorder.h"
#include "link/master_result.h"

namespace vs {

// The Modbus protocol layer: one operation per function code, each of which
// checks its arguments, lays out the request in the scratch buffer, runs one
// transaction through transact() and checks and unpacks the reply.
//
// Register and coil numbers are 1-based (1 to 65536); the request carries the
// number minus 1. Every operation returns a MasterResult. Reads zero their
// output first, so a failed read leaves zeros.
//
// Subclasses supply transact(): ModbusSerialMaster adds the serial line and the
// retry loop, ModbusRtuMaster the RTU framing; the simulator's loopback master
// hands frames straight to a simulated controller.
class ModbusMaster {
 public:
  static constexpr int kScratchSize = 260;

  ModbusMaster();
  virtual ~ModbusMaster();
  ModbusMaster(const ModbusMaster&) = delete;
  ModbusMaster& operator=(const ModbusMaster&) = delete;

  virtual bool isOpen() const;
  virtual void close();
  // One transaction: request data is the bytes after the function code, without
  // CRC; replyLength is the expected reply data length (after the function code,
  // without CRC). request and reply may be the same memory.
  virtual int transact(int slave, int function, const std::uint8_t* request, int requestLength,
                       std::uint8_t* reply, int replyLength) = 0;

  // Function codes 1 to 4, 5, 6, 7, 15, 16, 22, 23.
  int readCoils(int slave, int firstCoil, std::int32_t* out, int count);
  int readDiscreteInputs(int slave, int firstInput, std::int32_t* out, int count);
  int readHoldingRegisters(int slave, int firstRegister, std::int16_t* out, int count);
  int readInputRegisters(int slave, int firstRegister, std::int16_t* out, int count);
  int writeSingleCoil(int slave, int coil, int on);
  int writeSingleRegister(int slave, int reg, std::int16_t value);
  int readExceptionStatus(int slave, std::uint8_t* out);
  int writeMultipleCoils(int slave, int firstCoil, const std::int32_t* in, int count);
  int writeMultipleRegisters(int slave, int firstRegister, const std::int16_t* in, int count);
  int maskWriteRegister(int slave, int reg, std::uint16_t andMask, std::uint16_t orMask);
  int readWriteMultipleRegisters(int slave, int readStart, std::int16_t* readOut, int readCount,
                                 int writeStart, const std::int16_t* writeIn, int writeCount);

  // 32-bit values in two registers; count is the number of 32-bit values.
  int readHoldingRegisters32(int slave, int firstRegister, std::int32_t* out, int count);
  int readInputRegisters32(int slave, int firstRegister, std::int32_t* out, int count);
  int readHoldingFloats(int slave, int firstRegister, float* out, int count);
  int readInputFloats(int slave, int firstRegister, float* out, int count);
  int readHoldingMod10000(int slave, int firstRegister, std::int32_t* out, int count);
  int readInputMod10000(int slave, int firstRegister, std::int32_t* out, int count);
  int writeMultipleRegisters32(int slave, int firstRegister, const std::int32_t* in, int count);
  int writeMultipleFloats(int slave, int firstRegister, const float* in, int count);
  int writeMultipleMod10000(int slave, int firstRegister, const std::int32_t* in, int count);

  // Setters refuse an out-of-range value with 1, then refuse with 2 while open.
  int setTimeout(int milliseconds);    // 1 to 100000, default 1000
  int setPollDelay(int milliseconds);  // 0 to 100000, default 0
  int setRetries(int retries);         // 0 to 10, default 0

  void setIntWordSwap();
  void clearIntWordSwap();
  void setFloatWordSwap();
  void clearFloatWordSwap();

  // Every frame of the exchanges that follow goes into `trace` (nullptr: none).
  // Set it while no exchange runs; the trace must outlive its use here.
  void setFrameTrace(FrameTrace* trace) { recorder_.setTrace(trace); }

  int timeout() const { return timeout_; }
  int pollDelay() const { return pollDelay_; }
  int retries() const { return retries_; }
  std::int32_t requestCount() const { return requestCount_; }
  std::int32_t successCount() const { return successCount_; }

 private:
  int readRegisterBlock(int function, int slave, int first, std::int16_t* out, int count);
  int readBitBlock(int function, int slave, int first, std::int32_t* out, int count);
  // transact() on the scratch buffer, then checkReply().
  int exchange(int slave, int function, int requestLength, int replyLength);
  int writeSingle(int function, int slave, int number, std::uint16_t value);
  // 32-bit values as register pairs: `join` makes a value of two registers,
  // `split` two registers of a value (false when it does not fit).
  template <typename T, typename Join>
  int readWide(int function, int slave, int first, T* out, int count, Join join);
  template <typename T, typename Split>
  int writeWide(int slave, int first, const T* in, int count, Split split);
  // The words of a value are swapped in memory when the option differs from
  // the host's own order.
  bool intSwap() const { return swapIntWords_ != hostIntWordsSwapped_; }
  bool floatSwap() const { return swapFloatWords_ != hostFloatWordsSwapped_; }

 protected:
  std::int32_t requestCount_ = 0;
  std::int32_t successCount_ = 0;
  std::int32_t retries_ = 0;
  std::int32_t timeout_ = 1000;
  std::int32_t pollDelay_ = 0;
  DeadlineTimer nextSend_;
  std::uint8_t scratch_[kScratchSize] = {};
  // Whether this host keeps the high half of a 32-bit integer (of a float) in
  // its first 16-bit word; probed at construction.
  std::int32_t hostIntWordsSwapped_ = 0;
  std::int32_t hostFloatWordsSwapped_ = 0;
  std::int32_t swapIntWords_ = 0;
  std::int32_t swapFloatWords_ = 0;
  FrameRecorder recorder_;
};

// The request bytes checkReply() reads: the mask write's echo is its whole request.
inline constexpr int kCheckedRequestBytes = 6;

// Whether a reply the transaction accepted answers its request (both without
// the function code): the byte count of a read, the echo of a write, which a
// broadcast does not get. MODBUS_OK or MODBUS_BAD_REPLY.
int checkReply(int slave, int function, const std::uint8_t* request, const std::uint8_t* reply);

}  // namespace vs
