#pragma once

#include <windows.h>

#include <string>

// Helpers shared by the Win32 serial port and the Win32 command stream.
namespace vs::win32_comm {

// Opens a communications device by name ("COM3"; names past COM9 need the
// device namespace, which is added here) for exclusive reading and writing.
// `flags` is 0 or FILE_FLAG_OVERLAPPED. Returns SERIAL_OK with the handle in
// *handle, or SERIAL_NOT_FOUND, SERIAL_ACCESS_DENIED or SERIAL_SYSTEM_ERROR.
int openPort(const std::string& name, DWORD flags, HANDLE* handle);

}  // namespace vs::win32_comm
