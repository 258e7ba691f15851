#include <windows.h>

#include <cstring>

#include "link/line_settings.h"
#include "link/serial_port.h"
#include "link/win32_comm.h"

namespace vs {
namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Every transfer sets its own total time-out, with no interval time-out.
bool setTotalTimeouts(HANDLE port, DWORD readTotalMs, DWORD writeTotalMs) {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadTotalTimeoutConstant = readTotalMs;
  timeouts.WriteTotalTimeoutConstant = writeTotalMs;
  return ::SetCommTimeouts(port, &timeouts) != 0;
}

// All-zero values would mean "no time-out at all", so a zero request becomes
// the shortest real one.
DWORD totalMs(int timeoutMs) { return timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : 1; }

}  // namespace

SerialPort::~SerialPort() { close(); }

int SerialPort::open(const std::string& name) {
  if (isOpen()) close();
  HANDLE port = INVALID_HANDLE_VALUE;
  const int opened = win32_comm::openPort(name, 0, &port);
  if (opened != SERIAL_OK) return opened;
  static_assert(sizeof(DCB) <= kLineStateSize && alignof(DCB) <= 8);
  DCB saved{};
  saved.DCBlength = sizeof saved;
  if (!::GetCommState(port, &saved)) {
    // Without the line state there is nothing to put back: do not keep a
    // half-open port.
    ::CloseHandle(port);
    return SERIAL_SYSTEM_ERROR;
  }
  std::memcpy(savedLine_, &saved, sizeof saved);
  handle_ = reinterpret_cast<std::intptr_t>(port);
  purge();
  return configure(9600, 8, 1, 0, 0);
}

int SerialPort::configure(int baudRate, int dataBits, int stopBits, int parity, int handshake) {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(handleOf(handle_), &dcb)) return SERIAL_SYSTEM_ERROR;
  if (!validLineSettings(dataBits, stopBits, parity, handshake)) return SERIAL_BAD_SETTING;
  dcb = win32_comm::masterLineDcb(dcb, baudRate, dataBits, stopBits, parity, handshake);
  if (!::SetCommState(handleOf(handle_), &dcb)) return SERIAL_BAD_SETTING;
  baudRate_ = baudRate;
  handshake_ = handshake;
  return SERIAL_OK;
}

void SerialPort::close() {
  if (!isOpen()) return;
  purge();
  DCB saved{};
  std::memcpy(&saved, savedLine_, sizeof saved);
  ::SetCommState(handleOf(handle_), &saved);
  ::CloseHandle(handleOf(handle_));
  handle_ = kInvalidHandle;
}

int SerialPort::write(const std::uint8_t* data, int count, int timeoutMs) {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  if (!setTotalTimeouts(handleOf(handle_), 0, totalMs(timeoutMs))) return SERIAL_SYSTEM_ERROR;
  DWORD written = 0;
  // A failed call is a failing port (an adapter pulled), never a time-out.
  const BOOL ok =
      ::WriteFile(handleOf(handle_), data, static_cast<DWORD>(count), &written, nullptr);
  if (!ok && ::GetLastError() != ERROR_TIMEOUT) return SERIAL_SYSTEM_ERROR;
  return written == static_cast<DWORD>(count) ? SERIAL_OK : SERIAL_TIMEOUT;
}

int SerialPort::read(std::uint8_t* data, int count, int timeoutMs, int* received) {
  if (received != nullptr) *received = 0;
  if (!isOpen()) return SERIAL_NOT_OPEN;
  if (!setTotalTimeouts(handleOf(handle_), totalMs(timeoutMs), 0)) return SERIAL_SYSTEM_ERROR;
  DWORD got = 0;
  const BOOL ok = ::ReadFile(handleOf(handle_), data, static_cast<DWORD>(count), &got, nullptr);
  if (received != nullptr) *received = static_cast<int>(got);
  if (!ok && ::GetLastError() != ERROR_TIMEOUT) return SERIAL_SYSTEM_ERROR;
  return got == static_cast<DWORD>(count) ? SERIAL_OK : SERIAL_TIMEOUT;
}

int SerialPort::readPending(std::uint8_t* data, int capacity, int* received) {
  *received = 0;
  if (!isOpen()) return SERIAL_NOT_OPEN;
  // An interval time-out of MAXDWORD with no totals: return at once with what
  // has arrived.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  if (!::SetCommTimeouts(handleOf(handle_), &timeouts)) return SERIAL_SYSTEM_ERROR;
  DWORD got = 0;
  const BOOL ok = ::ReadFile(handleOf(handle_), data, static_cast<DWORD>(capacity), &got, nullptr);
  *received = static_cast<int>(got);
  return ok ? SERIAL_OK : SERIAL_SYSTEM_ERROR;
}

namespace {

int purgeComm(std::intptr_t handle, DWORD queues) {
  return ::PurgeComm(handleOf(handle), queues) ? SERIAL_OK : SERIAL_SYSTEM_ERROR;
}

}  // namespace

int SerialPort::purge() {
  return isOpen() ? purgeComm(handle_, PURGE_TXCLEAR | PURGE_RXCLEAR) : SERIAL_NOT_OPEN;
}

int SerialPort::purgeInput() {
  return isOpen() ? purgeComm(handle_, PURGE_RXCLEAR) : SERIAL_NOT_OPEN;
}

int SerialPort::drain() {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  if (handshake_ == 1) return SERIAL_HANDSHAKE_ACTIVE;
  COMMTIMEOUTS none{};
  if (!::SetCommTimeouts(handleOf(handle_), &none)) return SERIAL_SYSTEM_ERROR;
  return ::FlushFileBuffers(handleOf(handle_)) ? SERIAL_OK : SERIAL_SYSTEM_ERROR;
}

int SerialPort::setRts() { return setRtsLine(true); }
int SerialPort::clearRts() { return setRtsLine(false); }

int SerialPort::setRtsLine(bool raised) {
  if (!isOpen()) return SERIAL_NOT_OPEN;
  if (handshake_ == 1) return SERIAL_HANDSHAKE_ACTIVE;
  return ::EscapeCommFunction(handleOf(handle_), raised ? SETRTS : CLRRTS) ? SERIAL_OK
                                                                           : SERIAL_SYSTEM_ERROR;
}

}  // namespace vs
