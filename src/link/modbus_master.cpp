#include "link/modbus_master.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vs {
namespace {

constexpr int kMaxReadRegisters = 125;
constexpr int kMaxWriteRegisters = 100;
constexpr int kMaxReadBits = 2000;
constexpr int kMaxWriteBits = 800;
// A wide write is staged in a local buffer of the scratch buffer's size.
constexpr int kMaxWideWriteValues = ModbusMaster::kScratchSize / 4;

constexpr std::uint16_t kCoilOn = 0xFF00;
// Single-write echoes some devices answer with in place of the value sent.
constexpr std::uint16_t kAcceptedCoilEcho = 0x0001;
constexpr std::uint16_t kAcceptedRegisterEcho = 0x0002;

bool validSlave(int slave) { return slave >= 1 && slave <= 255; }
bool validSlaveOrBroadcast(int slave) { return slave >= 0 && slave <= 255; }
bool validNumber(int number) { return number >= 1 && number <= 65536; }

// Big-endian 16-bit fields; register and coil numbers go out minus one.
void put16(std::uint8_t* at, unsigned value) {
  at[0] = static_cast<std::uint8_t>(value >> 8);
  at[1] = static_cast<std::uint8_t>(value);
}
std::uint16_t get16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>((at[0] << 8) | at[1]);
}

std::uint16_t acceptedEcho(int function) {
  return function == 5 ? kAcceptedCoilEcho : kAcceptedRegisterEcho;
}

template <typename T>
void zero(T* out, int count) {
  if (out != nullptr && count > 0) std::fill_n(out, count, T{});
}

void unpackRegisters(const std::uint8_t* data, std::int16_t* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = static_cast<std::int16_t>(get16(data + 2 * i));
}

int packRegisters(std::uint8_t* at, const std::int16_t* in, int count) {
  at[0] = static_cast<std::uint8_t>(2 * count);
  for (int i = 0; i < count; ++i) put16(at + 1 + 2 * i, static_cast<std::uint16_t>(in[i]));
  return 1 + 2 * count;
}

// A 32-bit value and its two registers, first register first. The registers
// are copied into the value's memory as they come; the words are swapped when
// the word-order option differs from how the host keeps its words.
template <typename T>
T joinWords(const std::int16_t* regs, bool swap) {
  std::uint16_t words[2] = {static_cast<std::uint16_t>(regs[0]),
                            static_cast<std::uint16_t>(regs[1])};
  if (swap) std::swap(words[0], words[1]);
  T value;
  static_assert(sizeof value == sizeof words);
  std::memcpy(&value, words, sizeof value);
  return value;
}

template <typename T>
void splitWords(T value, bool swap, std::int16_t* regs) {
  std::uint16_t words[2];
  static_assert(sizeof value == sizeof words);
  std::memcpy(words, &value, sizeof words);
  if (swap) std::swap(words[0], words[1]);
  regs[0] = static_cast<std::int16_t>(words[0]);
  regs[1] = static_cast<std::int16_t>(words[1]);
}

template <typename T>
auto wordJoiner(bool swap) {
  return [swap](const std::int16_t* regs) { return joinWords<T>(regs, swap); };
}

template <typename T>
auto wordSplitter(bool swap) {
  return [swap](T value, std::int16_t* regs) {
    splitWords(value, swap, regs);
    return true;
  };
}

std::int32_t joinMod10000(const std::int16_t* regs) { return regs[0] * 10000 + regs[1]; }

// Refuses a value whose upper part does not fit a register, rather than
// writing a different number.
bool splitMod10000(std::int32_t value, std::int16_t* regs) {
  const std::int32_t high = value / 10000;
  if (high < std::numeric_limits<std::int16_t>::min() ||
      high > std::numeric_limits<std::int16_t>::max()) {
    return false;
  }
  regs[0] = static_cast<std::int16_t>(high);
  regs[1] = static_cast<std::int16_t>(value % 10000);
  return true;
}

}  // namespace

ModbusMaster::ModbusMaster() {
  // Probe how this host keeps the two halves of an integer and of a float.
  std::uint16_t words[2];
  const std::uint32_t one = 1;
  std::memcpy(words, &one, sizeof words);
  hostIntWordsSwapped_ = words[0] == 0;
  const float unit = 1.0f;  // 0x3F800000 on IEEE hosts: all bits in the high half
  std::memcpy(words, &unit, sizeof words);
  hostFloatWordsSwapped_ = words[0] != 0;
}

ModbusMaster::~ModbusMaster() = default;

bool ModbusMaster::isOpen() const { return true; }
void ModbusMaster::close() {}

// ---- Function codes ---------------------------------------------------------

int checkReply(int slave, int function, const std::uint8_t* request, const std::uint8_t* reply) {
  const unsigned quantity = get16(request + 2);
  switch (function) {
    case 1:
    case 2: return reply[0] == (quantity + 7) / 8 ? MODBUS_OK : MODBUS_BAD_REPLY;
    case 3:
    case 4:
    case 23:  // the quantity read comes first
      return reply[0] == static_cast<std::uint8_t>(2 * quantity) ? MODBUS_OK : MODBUS_BAD_REPLY;
    case 5:
    case 6: {
      // A broadcast is not answered, so nothing is echoed.
      const std::uint16_t echo = get16(reply + 2);
      const bool echoed = echo == quantity || echo == acceptedEcho(function);
      return slave == 0 || echoed ? MODBUS_OK : MODBUS_BAD_REPLY;
    }
    case 15:
    case 16: return slave == 0 || get16(reply + 2) == quantity ? MODBUS_OK : MODBUS_BAD_REPLY;
    case 22:
      return slave == 0 || std::memcmp(reply, request, kCheckedRequestBytes) == 0 ? MODBUS_OK : MODBUS_BAD_REPLY;
    default: return MODBUS_OK;
  }
}

int ModbusMaster::exchange(int slave, int function, int requestLength, int replyLength) {
  // The reply lands on the request; checkReply needs the request's first words.
  std::uint8_t sent[kCheckedRequestBytes] = {};
  std::memcpy(sent, scratch_,
              static_cast<std::size_t>(std::min(requestLength, kCheckedRequestBytes)));
  const int result = transact(slave, function, scratch_, requestLength, scratch_, replyLength);
  if (result != MODBUS_OK) return result;
  return checkReply(slave, function, sent, scratch_);
}

int ModbusMaster::readRegisterBlock(int function, int slave, int first, std::int16_t* out,
                                    int count) {
  zero(out, count);
  if (!validSlave(slave) || !validNumber(first)) return MODBUS_BAD_ARGUMENT;
  if (count < 1 || count > kMaxReadRegisters || out == nullptr) return MODBUS_BAD_ARGUMENT;
  put16(scratch_, static_cast<unsigned>(first - 1));
  put16(scratch_ + 2, static_cast<unsigned>(count));
  const int result = exchange(slave, function, 4, 1 + 2 * count);
  if (result != MODBUS_OK) return result;
  unpackRegisters(scratch_ + 1, out, count);
  return MODBUS_OK;
}

int ModbusMaster::readBitBlock(int function, int slave, int first, std::int32_t* out, int count) {
  zero(out, count);
  if (!validSlave(slave) || !validNumber(first)) return MODBUS_BAD_ARGUMENT;
  if (count < 1 || count > kMaxReadBits || out == nullptr) return MODBUS_BAD_ARGUMENT;
  put16(scratch_, static_cast<unsigned>(first - 1));
  put16(scratch_ + 2, static_cast<unsigned>(count));
  const int result = exchange(slave, function, 4, 1 + (count + 7) / 8);
  if (result != MODBUS_OK) return result;
  for (int j = 0; j < count; ++j) out[j] = (scratch_[1 + j / 8] >> (j % 8)) & 1;
  return MODBUS_OK;
}

int ModbusMaster::writeSingle(int function, int slave, int number, std::uint16_t value) {
  if (!validSlaveOrBroadcast(slave) || !validNumber(number)) return MODBUS_BAD_ARGUMENT;
  put16(scratch_, static_cast<unsigned>(number - 1));
  put16(scratch_ + 2, value);
  return exchange(slave, function, 4, 4);
}

int ModbusMaster::readCoils(int slave, int firstCoil, std::int32_t* out, int count) {
  return readBitBlock(1, slave, firstCoil, out, count);
}

int ModbusMaster::readDiscreteInputs(int slave, int firstInput, std::int32_t* out, int count) {
  return readBitBlock(2, slave, firstInput, out, count);
}

int ModbusMaster::readHoldingRegisters(int slave, int firstRegister, std::int16_t* out, int count) {
  return readRegisterBlock(3, slave, firstRegister, out, count);
}

int ModbusMaster::readInputRegisters(int slave, int firstRegister, std::int16_t* out, int count) {
  return readRegisterBlock(4, slave, firstRegister, out, count);
}

int ModbusMaster::writeSingleCoil(int slave, int coil, int on) {
  return writeSingle(5, slave, coil, on != 0 ? kCoilOn : 0);
}

int ModbusMaster::writeSingleRegister(int slave, int reg, std::int16_t value) {
  return writeSingle(6, slave, reg, static_cast<std::uint16_t>(value));
}

int ModbusMaster::readExceptionStatus(int slave, std::uint8_t* out) {
  if (!validSlave(slave) || out == nullptr) return MODBUS_BAD_ARGUMENT;
  const int result = exchange(slave, 7, 0, 1);
  if (result != MODBUS_OK) return result;
  *out = scratch_[0];
  return MODBUS_OK;
}

int ModbusMaster::writeMultipleCoils(int slave, int firstCoil, const std::int32_t* in, int count) {
  if (!validSlaveOrBroadcast(slave) || !validNumber(firstCoil)) return MODBUS_BAD_ARGUMENT;
  if (count < 1 || count > kMaxWriteBits || in == nullptr) return MODBUS_BAD_ARGUMENT;
  put16(scratch_, static_cast<unsigned>(firstCoil - 1));
  put16(scratch_ + 2, static_cast<unsigned>(count));
  const int bytes = (count + 7) / 8;
  scratch_[4] = static_cast<std::uint8_t>(bytes);
  std::fill_n(scratch_ + 5, bytes, 0);
  for (int j = 0; j < count; ++j) {
    if (in[j] != 0) scratch_[5 + j / 8] |= static_cast<std::uint8_t>(1u << (j % 8));
  }
  return exchange(slave, 15, 5 + bytes, 4);
}

int ModbusMaster::writeMultipleRegisters(int slave, int firstRegister, const std::int16_t* in,
                                         int count) {
  if (!validSlaveOrBroadcast(slave) || !validNumber(firstRegister)) return MODBUS_BAD_ARGUMENT;
  if (count < 1 || count > kMaxWriteRegisters || in == nullptr) return MODBUS_BAD_ARGUMENT;
  put16(scratch_, static_cast<unsigned>(firstRegister - 1));
  put16(scratch_ + 2, static_cast<unsigned>(count));
  const int length = 4 + packRegisters(scratch_ + 4, in, count);
  return exchange(slave, 16, length, 4);
}

int ModbusMaster::maskWriteRegister(int slave, int reg, std::uint16_t andMask,
                                    std::uint16_t orMask) {
  if (!validSlaveOrBroadcast(slave) || !validNumber(reg)) return MODBUS_BAD_ARGUMENT;
  put16(scratch_, static_cast<unsigned>(reg - 1));
  put16(scratch_ + 2, andMask);
  put16(scratch_ + 4, orMask);
  return exchange(slave, 22, 6, 6);
}

int ModbusMaster::readWriteMultipleRegisters(int slave, int readStart, std::int16_t* readOut,
                                             int readCount, int writeStart,
                                             const std::int16_t* writeIn, int writeCount) {
  zero(readOut, readCount);
  if (!validSlave(slave) || !validNumber(readStart)) return MODBUS_BAD_ARGUMENT;
  if (readCount < 1 || readCount > kMaxReadRegisters || readOut == nullptr) {
    return MODBUS_BAD_ARGUMENT;
  }
  if (!validNumber(writeStart)) return MODBUS_BAD_ARGUMENT;
  if (writeCount < 1 || writeCount > kMaxWriteRegisters || writeIn == nullptr) {
    return MODBUS_BAD_ARGUMENT;
  }
  put16(scratch_, static_cast<unsigned>(readStart - 1));
  put16(scratch_ + 2, static_cast<unsigned>(readCount));
  put16(scratch_ + 4, static_cast<unsigned>(writeStart - 1));
  put16(scratch_ + 6, static_cast<unsigned>(writeCount));
  const int length = 8 + packRegisters(scratch_ + 8, writeIn, writeCount);
  const int result = exchange(slave, 23, length, 1 + 2 * readCount);
  if (result != MODBUS_OK) return result;
  unpackRegisters(scratch_ + 1, readOut, readCount);
  return MODBUS_OK;
}

// ---- 32-bit values ------------------------------------------------------------

template <typename T, typename Join>
int ModbusMaster::readWide(int function, int slave, int first, T* out, int count, Join join) {
  zero(out, count);
  // Two registers a value, within one read.
  if (count < 1 || 2 * count > kMaxReadRegisters) return MODBUS_BAD_ARGUMENT;
  std::int16_t regs[kMaxReadRegisters];
  const int result = readRegisterBlock(function, slave, first, regs, 2 * count);
  if (result != MODBUS_OK) return result;
  for (int i = 0; i < count; ++i) out[i] = join(regs + 2 * i);
  return MODBUS_OK;
}

template <typename T, typename Split>
int ModbusMaster::writeWide(int slave, int first, const T* in, int count, Split split) {
  if (count < 1 || count > kMaxWideWriteValues || in == nullptr) return MODBUS_BAD_ARGUMENT;
  std::int16_t regs[2 * kMaxWideWriteValues];
  for (int i = 0; i < count; ++i) {
    if (!split(in[i], regs + 2 * i)) return MODBUS_BAD_ARGUMENT;
  }
  return writeMultipleRegisters(slave, first, regs, 2 * count);
}

int ModbusMaster::readHoldingRegisters32(int slave, int firstRegister, std::int32_t* out,
                                         int count) {
  return readWide(3, slave, firstRegister, out, count, wordJoiner<std::int32_t>(intSwap()));
}

int ModbusMaster::readInputRegisters32(int slave, int firstRegister, std::int32_t* out, int count) {
  return readWide(4, slave, firstRegister, out, count, wordJoiner<std::int32_t>(intSwap()));
}

int ModbusMaster::readHoldingFloats(int slave, int firstRegister, float* out, int count) {
  return readWide(3, slave, firstRegister, out, count, wordJoiner<float>(floatSwap()));
}

int ModbusMaster::readInputFloats(int slave, int firstRegister, float* out, int count) {
  return readWide(4, slave, firstRegister, out, count, wordJoiner<float>(floatSwap()));
}

int ModbusMaster::readHoldingMod10000(int slave, int firstRegister, std::int32_t* out, int count) {
  return readWide(3, slave, firstRegister, out, count, joinMod10000);
}

int ModbusMaster::readInputMod10000(int slave, int firstRegister, std::int32_t* out, int count) {
  return readWide(4, slave, firstRegister, out, count, joinMod10000);
}

int ModbusMaster::writeMultipleRegisters32(int slave, int firstRegister, const std::int32_t* in,
                                           int count) {
  return writeWide(slave, firstRegister, in, count, wordSplitter<std::int32_t>(intSwap()));
}

int ModbusMaster::writeMultipleFloats(int slave, int firstRegister, const float* in, int count) {
  return writeWide(slave, firstRegister, in, count, wordSplitter<float>(floatSwap()));
}

int ModbusMaster::writeMultipleMod10000(int slave, int firstRegister, const std::int32_t* in,
                                        int count) {
  return writeWide(slave, firstRegister, in, count, splitMod10000);
}

// ---- Settings -------------------------------------------------------------------

namespace {

// Range first, then state: a setting only changes while the port is closed.
int storeSetting(const ModbusMaster& master, int value, int low, int high, std::int32_t* field) {
  if (value < low || value > high) return MODBUS_BAD_ARGUMENT;
  if (master.isOpen()) return MODBUS_WRONG_STATE;
  *field = value;
  return MODBUS_OK;
}

}  // namespace

int ModbusMaster::setTimeout(int milliseconds) {
  return storeSetting(*this, milliseconds, 1, 100000, &timeout_);
}

int ModbusMaster::setPollDelay(int milliseconds) {
  return storeSetting(*this, milliseconds, 0, 100000, &pollDelay_);
}

int ModbusMaster::setRetries(int retries) { return storeSetting(*this, retries, 0, 10, &retries_); }

void ModbusMaster::setIntWordSwap() { swapIntWords_ = 1; }
void ModbusMaster::clearIntWordSwap() { swapIntWords_ = 0; }
void ModbusMaster::setFloatWordSwap() { swapFloatWords_ = 1; }
void ModbusMaster::clearFloatWordSwap() { swapFloatWords_ = 0; }

}  // namespace vs
