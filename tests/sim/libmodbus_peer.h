#pragma once

#include <modbus.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vs::sim {

// libmodbus as an RTU master on a device path: an independent peer for the
// simulator. Results are libmodbus's own (-1 and errno on failure).
class LibmodbusPeer {
 public:
  explicit LibmodbusPeer(const std::string& path, int slave = 1, int baud = 9600) {
    ctx_ = modbus_new_rtu(path.c_str(), baud, 'N', 8, 1);
    if (ctx_ == nullptr) return;
    modbus_set_slave(ctx_, slave);
    modbus_set_response_timeout(ctx_, 2, 0);
    connected_ = modbus_connect(ctx_) == 0;
  }
  ~LibmodbusPeer() {
    if (ctx_ == nullptr) return;
    if (connected_) modbus_close(ctx_);
    modbus_free(ctx_);
  }
  LibmodbusPeer(const LibmodbusPeer&) = delete;
  LibmodbusPeer& operator=(const LibmodbusPeer&) = delete;

  bool connected() const { return connected_; }
  void setSlave(int slave) { modbus_set_slave(ctx_, slave); }
  void setTimeout(int milliseconds) {
    modbus_set_response_timeout(ctx_, milliseconds / 1000, (milliseconds % 1000) * 1000);
  }
  // 1-based first register, as on our master; empty on failure.
  std::vector<std::int16_t> read(int first, int count) {
    std::vector<std::uint16_t> raw(static_cast<std::size_t>(count));
    if (modbus_read_registers(ctx_, first - 1, count, raw.data()) != count) return {};
    return {raw.begin(), raw.end()};
  }
  int write(int reg, std::int16_t value) {
    return modbus_write_register(ctx_, reg - 1, static_cast<std::uint16_t>(value));
  }
  int write(int first, const std::vector<std::int16_t>& values) {
    std::vector<std::uint16_t> raw(values.begin(), values.end());
    return modbus_write_registers(ctx_, first - 1, static_cast<int>(raw.size()), raw.data());
  }

 private:
  modbus_t* ctx_ = nullptr;
  bool connected_ = false;
};

}  // namespace vs::sim
