#include <windows.h>

#include <system_error>

#include "link/serial_port.h"
#include "link/serial_stream_buf.h"
#include "link/win32_comm.h"

namespace vs {
namespace {

void notify(const CommNotifyRequest& request, std::uint32_t events, std::uint32_t error) {
  if (request.target) request.target(events, error);
}

// Runs one overlapped transfer to its end; false when it failed.
template <typename Start>
bool complete(HANDLE port, HANDLE event, DWORD* moved, Start start) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = event;
  if (start(&overlapped)) return true;
  if (::GetLastError() != ERROR_IO_PENDING) return false;
  return ::GetOverlappedResult(port, &overlapped, moved, TRUE) != 0;
}

}  // namespace

struct SerialStreamBuf::Native {
  HANDLE port = INVALID_HANDLE_VALUE;
  HANDLE ioEvent = nullptr;    // reads and writes of the owner
  HANDLE waitEvent = nullptr;  // the event thread's line-event waits
  HANDLE wakeEvent = nullptr;  // set when the mailbox has news
  DCB dcb{};
};

SerialStreamBuf::SerialStreamBuf() = default;

SerialStreamBuf::~SerialStreamBuf() { close(); }

bool SerialStreamBuf::openPort(const SerialStreamSettings& settings) {
  HANDLE port = INVALID_HANDLE_VALUE;
  if (win32_comm::openPort(settings.portName, FILE_FLAG_OVERLAPPED, &port) != SERIAL_OK) {
    return false;
  }
  // Built on what the port has, as the master's line is: a DCB made from
  // nothing has equal XON and XOFF characters, which Windows refuses.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  bool set = ::GetCommState(port, &dcb) != 0;
  if (set) {
    dcb = win32_comm::commandStreamDcb(dcb, settings);
    set = ::SetCommState(port, &dcb) != 0;
  }
  const HANDLE ioEvent = set ? ::CreateEventA(nullptr, TRUE, FALSE, nullptr) : nullptr;
  if (ioEvent == nullptr) {
    ::CloseHandle(port);
    return false;
  }
  ::SetupComm(port, kReadSize, kReadSize);
  // Reads return at once with whatever has arrived.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  ::SetCommTimeouts(port, &timeouts);
  native_ = std::make_unique<Native>();
  native_->port = port;
  native_->ioEvent = ioEvent;
  native_->dcb = dcb;
  return true;
}

void SerialStreamBuf::closePort() {
  for (HANDLE event : {native_->ioEvent, native_->waitEvent, native_->wakeEvent}) {
    if (event != nullptr) ::CloseHandle(event);
  }
  ::CloseHandle(native_->port);
  native_.reset();
}

bool SerialStreamBuf::applyEventChar(char eventChar) {
  native_->dcb.EvtChar = eventChar;
  return ::SetCommState(native_->port, &native_->dcb) != 0;
}

std::streamsize SerialStreamBuf::readAvailable(char* into, std::streamsize capacity) {
  DWORD got = 0;
  const bool ok = complete(native_->port, native_->ioEvent, &got, [&](OVERLAPPED* overlapped) {
    return ::ReadFile(native_->port, into, static_cast<DWORD>(capacity), &got, overlapped) != 0;
  });
  return ok ? static_cast<std::streamsize>(got) : 0;
}

bool SerialStreamBuf::writeAll(const char* data, std::streamsize count) {
  DWORD written = 0;
  const bool ok = complete(native_->port, native_->ioEvent, &written, [&](OVERLAPPED* overlapped) {
    return ::WriteFile(native_->port, data, static_cast<DWORD>(count), &written, overlapped) != 0;
  });
  return ok && written == static_cast<DWORD>(count);
}

bool SerialStreamBuf::startEventThread() {
  native_->waitEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  native_->wakeEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (native_->waitEvent == nullptr || native_->wakeEvent == nullptr) return false;
  try {
    eventThread_ = std::thread(&SerialStreamBuf::eventLoop, this);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void SerialStreamBuf::wakeEventThread() { ::SetEvent(native_->wakeEvent); }

// One WaitCommEvent per request. While it is pending the thread also watches
// the wake-up event, so that a posted stop ends the wait (by clearing the
// port's event mask) instead of waiting for a line event that may never come.
void SerialStreamBuf::eventLoop() {
  const HANDLE port = native_->port;
  const HANDLE waits[2] = {native_->waitEvent, native_->wakeEvent};
  CommNotifyRequest armed;
  for (;;) {
    if (stopPosted()) return;
    if (!takeRequest(&armed)) {
      ::WaitForSingleObject(native_->wakeEvent, INFINITE);
      continue;
    }
    if (!::SetCommMask(port, armed.eventMask)) {
      notify(armed, 0, ::GetLastError());
      continue;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = native_->waitEvent;
    DWORD events = 0;
    DWORD unused = 0;
    BOOL ok = ::WaitCommEvent(port, &events, &overlapped);
    if (!ok && ::GetLastError() == ERROR_IO_PENDING) {
      for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0) break;
        if (woken == WAIT_OBJECT_0 + 1 && !stopPosted()) continue;
        ::SetCommMask(port, 0);
        ::GetOverlappedResult(port, &overlapped, &unused, TRUE);
        return;
      }
      ok = ::GetOverlappedResult(port, &overlapped, &unused, FALSE);
    }
    if (!ok) {
      notify(armed, 0, ::GetLastError());
    } else if (events != 0) {
      notify(armed, events, 0);
    }
  }
}

}  // namespace vs
