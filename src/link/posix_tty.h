#pragma once

#include <termios.h>

#include <chrono>
#include <string>

// Helpers shared by the POSIX serial port and the POSIX command stream.
namespace vs::posix_tty {

using Deadline = std::chrono::steady_clock::time_point;

// The device path of a port name, or an empty string when the name cannot
// name a device. A name with a slash in it is a path as it stands, from the
// current folder when relative (./ttyV0, a socat link); COMn is /dev/ttyS(n-1);
// any other bare name is a device in /dev (ttyUSB0).
std::string devicePath(const std::string& name);

// Opens a port by name for exclusive use (TIOCEXCL, and flock because root
// ignores TIOCEXCL), non-blocking. Returns SERIAL_OK with the descriptor in
// *fd, or SERIAL_NOT_FOUND, SERIAL_ACCESS_DENIED or SERIAL_SYSTEM_ERROR.
int openExclusive(const std::string& name, int* fd);
// Gives up the exclusive hold and closes the descriptor.
void closeExclusive(int fd);

// Sets a raw line: dataBits 7 or 8, stopBits 1 or 2, parity 0 none, 1 odd,
// 2 even, handshake 0 none or 1 RTS/CTS. SERIAL_BAD_SETTING (nothing changed)
// for a value out of range or a baud rate the platform has no speed for, or
// when the system refuses; SERIAL_SYSTEM_ERROR when the line cannot be read.
int applyLine(int fd, int baudRate, int dataBits, int stopBits, int parity, int handshake);

enum class WaitResult { Ready, TimedOut, Failed };
// Waits until fd is ready for `events` (POLLIN or POLLOUT) or the deadline
// passes. A hang-up or an error of the descriptor is Failed at once.
WaitResult waitFor(int fd, short events, Deadline deadline);

}  // namespace vs::posix_tty
