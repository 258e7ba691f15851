#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "scripted_slave.h"

namespace vs::test {
namespace {

// One request/reply on the line: the master's call (with its checks of the
// result and outputs), the request body it must send and the reply body the
// slave gives; both without CRC.
struct Exchange {
  const char* what;
  Bytes request;
  Bytes reply;
  std::function<void(ModbusMaster&)> call;
};

class ModbusOperations : public MasterOnPty {
 protected:
  void run(const std::vector<Exchange>& exchanges) {
    for (const Exchange& exchange : exchanges) {
      SCOPED_TRACE(exchange.what);
      const Bytes request = withCrc(exchange.request);
      ScriptedSlave slave(line, request.size(), {{withCrc(exchange.reply)}});
      exchange.call(master);
      EXPECT_EQ(slave.requests().at(0), request);
    }
  }
};

TEST_F(ModbusOperations, FrameEveryFunctionCodeAndUnpackTheReply) {
  run({
      {"read coils",
       {0x11, 0x01, 0x00, 0x13, 0x00, 0x0A},
       {0x11, 0x01, 0x02, 0xCD, 0x01},
       [](ModbusMaster& m) {
         std::int32_t coils[10];
         ASSERT_EQ(m.readCoils(0x11, 20, coils, 10), MODBUS_OK);
         EXPECT_EQ(std::vector<std::int32_t>(coils, coils + 10),
                   (std::vector<std::int32_t>{1, 0, 1, 1, 0, 0, 1, 1, 1, 0}));
       }},
      {"read discrete inputs",
       {0x11, 0x02, 0x00, 0xC4, 0x00, 0x03},
       {0x11, 0x02, 0x01, 0x05},
       [](ModbusMaster& m) {
         std::int32_t inputs[3];
         ASSERT_EQ(m.readDiscreteInputs(0x11, 197, inputs, 3), MODBUS_OK);
         EXPECT_EQ(std::vector<std::int32_t>(inputs, inputs + 3),
                   (std::vector<std::int32_t>{1, 0, 1}));
       }},
      {"read holding registers (112 goes out as 0x006F)",
       {0x11, 0x03, 0x00, 0x6F, 0x00, 0x03},
       {0x11, 0x03, 0x06, 0x02, 0x2B, 0x00, 0x00, 0xFF, 0x9C},
       [](ModbusMaster& m) {
         std::int16_t regs[3];
         ASSERT_EQ(m.readHoldingRegisters(0x11, 112, regs, 3), MODBUS_OK);
         EXPECT_EQ(regs[0], 555);
         EXPECT_EQ(regs[1], 0);
         EXPECT_EQ(regs[2], -100);
       }},
      {"read input registers",
       {0x11, 0x04, 0x00, 0x08, 0x00, 0x01},
       {0x11, 0x04, 0x02, 0x80, 0x00},
       [](ModbusMaster& m) {
         std::int16_t value = 0;
         ASSERT_EQ(m.readInputRegisters(0x11, 9, &value, 1), MODBUS_OK);
         EXPECT_EQ(value, -32768);
       }},
      {"write single coil",
       {0x11, 0x05, 0x00, 0xAC, 0xFF, 0x00},
       {0x11, 0x05, 0x00, 0xAC, 0xFF, 0x00},
       [](ModbusMaster& m) { EXPECT_EQ(m.writeSingleCoil(0x11, 173, 7), MODBUS_OK); }},
      {"write single register: 4660 to the save command",
       {0x11, 0x06, 0x00, 0x8F, 0x12, 0x34},
       {0x11, 0x06, 0x00, 0x8F, 0x12, 0x34},
       [](ModbusMaster& m) { EXPECT_EQ(m.writeSingleRegister(0x11, 144, 4660), MODBUS_OK); }},
      {"read exception status",
       {0x11, 0x07},
       {0x11, 0x07, 0x6D},
       [](ModbusMaster& m) {
         std::uint8_t status = 0;
         ASSERT_EQ(m.readExceptionStatus(0x11, &status), MODBUS_OK);
         EXPECT_EQ(status, 0x6D);
       }},
      {"write multiple coils",
       {0x11, 0x0F, 0x00, 0x13, 0x00, 0x0A, 0x02, 0xCD, 0x01},
       {0x11, 0x0F, 0x00, 0x13, 0x00, 0x0A},
       [](ModbusMaster& m) {
         const std::int32_t coils[10] = {1, 0, 5, 1, 0, 0, 1, -1, 1, 0};
         EXPECT_EQ(m.writeMultipleCoils(0x11, 20, coils, 10), MODBUS_OK);
       }},
      {"write multiple registers",
       {0x11, 0x10, 0x00, 0x01, 0x00, 0x02, 0x04, 0x00, 0x0A, 0xFF, 0xFE},
       {0x11, 0x10, 0x00, 0x01, 0x00, 0x02},
       [](ModbusMaster& m) {
         const std::int16_t regs[2] = {10, -2};
         EXPECT_EQ(m.writeMultipleRegisters(0x11, 2, regs, 2), MODBUS_OK);
       }},
      {"mask write register",
       {0x11, 0x16, 0x00, 0x04, 0x00, 0xF2, 0x00, 0x25},
       {0x11, 0x16, 0x00, 0x04, 0x00, 0xF2, 0x00, 0x25},
       [](ModbusMaster& m) { EXPECT_EQ(m.maskWriteRegister(0x11, 5, 0x00F2, 0x0025), MODBUS_OK); }},
      {"read/write multiple registers",
       {0x11, 0x17, 0x00, 0x03, 0x00, 0x02, 0x00, 0x0E, 0x00, 0x01, 0x02, 0x00, 0xFF},
       {0x11, 0x17, 0x04, 0x00, 0xFE, 0x0A, 0xCD},
       [](ModbusMaster& m) {
         std::int16_t out[2];
         const std::int16_t in[1] = {0xFF};
         ASSERT_EQ(m.readWriteMultipleRegisters(0x11, 4, out, 2, 15, in, 1), MODBUS_OK);
         EXPECT_EQ(out[0], 0x00FE);
         EXPECT_EQ(out[1], 0x0ACD);
       }},
  });
  EXPECT_EQ(master.requestCount(), 11);
  EXPECT_EQ(master.successCount(), 11);
}

TEST_F(ModbusOperations, ReadOf125RegistersTakesA255ByteFrame) {
  Bytes reply = {0x01, 0x03, 250};
  for (int i = 0; i < 125; ++i) reply.insert(reply.end(), {0x00, static_cast<std::uint8_t>(i)});
  ASSERT_EQ(withCrc(reply).size(), 255u);
  run({{"125 registers", {0x01, 0x03, 0x00, 0x00, 0x00, 0x7D}, reply, [](ModbusMaster& m) {
          std::int16_t regs[125];
          ASSERT_EQ(m.readHoldingRegisters(1, 1, regs, 125), MODBUS_OK);
          EXPECT_EQ(regs[124], 124);
        }}});
}

TEST_F(ModbusOperations, RepliesThatDoNotMatchTheRequestAreBadReplies) {
  run({
      {"byte count short for three registers",
       {0x01, 0x03, 0x00, 0x00, 0x00, 0x03},
       {0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03},
       [](ModbusMaster& m) {
         std::int16_t regs[3] = {9, 9, 9};
         EXPECT_EQ(m.readHoldingRegisters(1, 1, regs, 3), MODBUS_BAD_REPLY);
         EXPECT_EQ(regs[0] | regs[1] | regs[2], 0);
       }},
      {"coil byte count",
       {0x01, 0x01, 0x00, 0x00, 0x00, 0x0A},
       {0x01, 0x01, 0x01, 0xFF, 0xFF},
       [](ModbusMaster& m) {
         std::int32_t coils[10];
         EXPECT_EQ(m.readCoils(1, 1, coils, 10), MODBUS_BAD_REPLY);
       }},
      {"register echo of another value",
       {0x01, 0x06, 0x00, 0x8F, 0x12, 0x34},
       {0x01, 0x06, 0x00, 0x8F, 0x12, 0x35},
       [](ModbusMaster& m) { EXPECT_EQ(m.writeSingleRegister(1, 144, 4660), MODBUS_BAD_REPLY); }},
      {"register echo of 2 is accepted",
       {0x01, 0x06, 0x00, 0x8F, 0x12, 0x34},
       {0x01, 0x06, 0x00, 0x00, 0x00, 0x02},
       [](ModbusMaster& m) { EXPECT_EQ(m.writeSingleRegister(1, 144, 4660), MODBUS_OK); }},
      {"coil echo of 1 is accepted",
       {0x01, 0x05, 0x00, 0x00, 0xFF, 0x00},
       {0x01, 0x05, 0x00, 0x00, 0x00, 0x01},
       [](ModbusMaster& m) { EXPECT_EQ(m.writeSingleCoil(1, 1, 1), MODBUS_OK); }},
      {"coil echo of 2 is not",
       {0x01, 0x05, 0x00, 0x00, 0xFF, 0x00},
       {0x01, 0x05, 0x00, 0x00, 0x00, 0x02},
       [](ModbusMaster& m) { EXPECT_EQ(m.writeSingleCoil(1, 1, 1), MODBUS_BAD_REPLY); }},
      {"coil count echo",
       {0x01, 0x0F, 0x00, 0x00, 0x00, 0x02, 0x01, 0x03},
       {0x01, 0x0F, 0x00, 0x00, 0x00, 0x01},
       [](ModbusMaster& m) {
         const std::int32_t coils[2] = {1, 1};
         EXPECT_EQ(m.writeMultipleCoils(1, 1, coils, 2), MODBUS_BAD_REPLY);
       }},
      {"register count echo; the start is not compared",
       {0x01, 0x10, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00, 0x07},
       {0x01, 0x10, 0x00, 0x09, 0x00, 0x01},
       [](ModbusMaster& m) {
         const std::int16_t value = 7;
         EXPECT_EQ(m.writeMultipleRegisters(1, 1, &value, 1), MODBUS_OK);
       }},
      {"mask echo",
       {0x01, 0x16, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02},
       {0x01, 0x16, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03},
       [](ModbusMaster& m) { EXPECT_EQ(m.maskWriteRegister(1, 1, 1, 2), MODBUS_BAD_REPLY); }},
      {"read/write byte count",
       {0x01, 0x17, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00, 0x01},
       {0x01, 0x17, 0x01, 0x00, 0x05},
       [](ModbusMaster& m) {
         std::int16_t out = 9;
         const std::int16_t in = 1;
         EXPECT_EQ(m.readWriteMultipleRegisters(1, 1, &out, 1, 1, &in, 1), MODBUS_BAD_REPLY);
         EXPECT_EQ(out, 0);
       }},
  });
}

TEST_F(ModbusOperations, ThirtyTwoBitValuesFollowTheWordOrderOptions) {
  const Bytes request = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02};
  const Bytes reply = {0x01, 0x03, 0x04, 0x56, 0x78, 0x12, 0x34};
  run({{"low word first", request, reply,
        [](ModbusMaster& m) {
          std::int32_t value = 0;
          ASSERT_EQ(m.readHoldingRegisters32(1, 1, &value, 1), MODBUS_OK);
          EXPECT_EQ(value, 0x12345678);
        }},
       {"high word first", request, reply, [](ModbusMaster& m) {
          m.setIntWordSwap();
          std::int32_t value = 0;
          ASSERT_EQ(m.readHoldingRegisters32(1, 1, &value, 1), MODBUS_OK);
          EXPECT_EQ(value, 0x56781234);
          m.clearIntWordSwap();
        }}});

  // 1.5f is 0x3FC00000.
  run({{"float, low word first",
        {0x01, 0x04, 0x00, 0x00, 0x00, 0x02},
        {0x01, 0x04, 0x04, 0x00, 0x00, 0x3F, 0xC0},
        [](ModbusMaster& m) {
          float value = 0;
          ASSERT_EQ(m.readInputFloats(1, 1, &value, 1), MODBUS_OK);
          EXPECT_EQ(value, 1.5f);
        }},
       {"float, high word first, written",
        {0x01, 0x10, 0x00, 0x00, 0x00, 0x02, 0x04, 0x3F, 0xC0, 0x00, 0x00},
        {0x01, 0x10, 0x00, 0x00, 0x00, 0x02},
        [](ModbusMaster& m) {
          m.setFloatWordSwap();
          const float value = 1.5f;
          EXPECT_EQ(m.writeMultipleFloats(1, 1, &value, 1), MODBUS_OK);
          m.clearFloatWordSwap();
        }}});
}

TEST_F(ModbusOperations, ModTenThousandValuesSpanTwoRegisters) {
  run({{"read",
        {0x01, 0x03, 0x00, 0x09, 0x00, 0x04},
        // 12345, 6789, -1, -2345
        {0x01, 0x03, 0x08, 0x30, 0x39, 0x1A, 0x85, 0xFF, 0xFF, 0xF6, 0xD7},
        [](ModbusMaster& m) {
          std::int32_t values[2];
          ASSERT_EQ(m.readHoldingMod10000(1, 10, values, 2), MODBUS_OK);
          EXPECT_EQ(values[0], 123456789);
          EXPECT_EQ(values[1], -12345);
        }},
       {"write",
        {0x01, 0x10, 0x00, 0x09, 0x00, 0x02, 0x04, 0x30, 0x39, 0x1A, 0x85},
        {0x01, 0x10, 0x00, 0x09, 0x00, 0x02},
        [](ModbusMaster& m) {
          const std::int32_t value = 123456789;
          EXPECT_EQ(m.writeMultipleMod10000(1, 10, &value, 1), MODBUS_OK);
        }}});
}

}  // namespace
}  // namespace vs::test
