#include "link/win32_comm.h"

#include "link/serial_port.h"

namespace vs::win32_comm {

int openPort(const std::string& name, DWORD flags, HANDLE* handle) {
  if (name.empty()) return SERIAL_NOT_FOUND;
  const std::string path = name.rfind("\\\\", 0) == 0 ? name : "\\\\.\\" + name;
  const HANDLE port = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, flags, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    switch (::GetLastError()) {
      case ERROR_FILE_NOT_FOUND: return SERIAL_NOT_FOUND;
      case ERROR_ACCESS_DENIED: return SERIAL_ACCESS_DENIED;
      default: return SERIAL_SYSTEM_ERROR;
    }
  }
  *handle = port;
  return SERIAL_OK;
}

}  // namespace vs::win32_comm
