#include "link/win32_comm.h"

#include "link/serial_port.h"

namespace vs::win32_comm {
namespace {

constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;

// What both users set alike. SetCommState refuses a DCB whose XON and XOFF
// characters are equal, even with XON/XOFF off, and a port may report both
// as 0, so they are made to differ.
void setRawLine(DCB& dcb, int baudRate, int dataBits, int stopBits, int parity) {
  static constexpr BYTE kParity[] = {NOPARITY, ODDPARITY, EVENPARITY};
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = static_cast<DWORD>(baudRate);
  dcb.ByteSize = static_cast<BYTE>(dataBits);
  dcb.StopBits = stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
  dcb.fParity = parity != 0;
  dcb.Parity = kParity[parity >= 0 && parity <= 2 ? parity : 0];
  dcb.fBinary = TRUE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  if (dcb.XonChar == dcb.XoffChar) {
    dcb.XonChar = kXon;
    dcb.XoffChar = kXoff;
  }
}

}  // namespace

int openFailure(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return SERIAL_NOT_FOUND;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return SERIAL_ACCESS_DENIED;
    default: return SERIAL_SYSTEM_ERROR;
  }
}

int openPort(const std::string& name, DWORD flags, HANDLE* handle) {
  if (name.empty()) return SERIAL_NOT_FOUND;
  const std::string path = name.rfind("\\\\", 0) == 0 ? name : "\\\\.\\" + name;
  const HANDLE port = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, flags, nullptr);
  if (port == INVALID_HANDLE_VALUE) return openFailure(::GetLastError());
  *handle = port;
  return SERIAL_OK;
}

DCB masterLineDcb(DCB port, int baudRate, int dataBits, int stopBits, int parity, int handshake) {
  setRawLine(port, baudRate, dataBits, stopBits, parity);
  port.fOutxCtsFlow = handshake == 1;
  port.fRtsControl = handshake == 1 ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_DISABLE;
  port.fOutxDsrFlow = FALSE;
  port.fDsrSensitivity = FALSE;
  port.fDtrControl = DTR_CONTROL_ENABLE;
  return port;
}

DCB commandStreamDcb(DCB port, const SerialStreamSettings& settings) {
  setRawLine(port, settings.baudRate, settings.dataBits, settings.stopBits, settings.parity);
  port.fOutxCtsFlow = FALSE;
  port.fOutxDsrFlow = FALSE;
  port.fDsrSensitivity = FALSE;
  port.EvtChar = settings.eventChar;
  return port;
}

}  // namespace vs::win32_comm
