#pragma once

#include <windows.h>

#include <string>

#include "link/serial_stream_settings.h"

// Helpers shared by the Win32 serial port and the Win32 command stream.
namespace vs::win32_comm {

// Opens a communications device by name ("COM3"; names past COM9 need the
// device namespace, which is added here) for exclusive reading and writing.
// `flags` is 0 or FILE_FLAG_OVERLAPPED. Returns SERIAL_OK with the handle in
// *handle, or what openFailure() makes of the system's error.
int openPort(const std::string& name, DWORD flags, HANDLE* handle);

// A failed open as a SerialResult: no such device (2, or 3 for a path that
// does not exist) is SERIAL_NOT_FOUND; a port held by another program (5
// access denied, 32 sharing violation) SERIAL_ACCESS_DENIED; anything else
// SERIAL_SYSTEM_ERROR.
int openFailure(DWORD error);

// The line of the Modbus master's port: the settings the port reports, with
// binary transfers of the given framing, no software flow control, no
// character replacement or stripping, no abort on error, DTR on, and CTS
// flow control with RTS handshaking when `handshake` is 1, neither when 0.
// The arguments must have passed validLineSettings().
DCB masterLineDcb(DCB port, int baudRate, int dataBits, int stopBits, int parity, int handshake);

// The line of the command stream: the settings the port reports, with the
// stream's framing and event character and no flow control of any kind; DTR
// and RTS stay as the port has them.
DCB commandStreamDcb(DCB port, const SerialStreamSettings& settings);

}  // namespace vs::win32_comm
