// The DCBs our Win32 serial code hands to SetCommState, checked against the
// rules Windows documents for it: Wine accepts DCBs that Windows refuses, so
// opening a port under Wine proves little here.

#include "link/win32_comm.h"

#include <gtest/gtest.h>

#include <string>

#include "link/serial_port.h"

namespace vs::win32_comm {
namespace {

// Why SetCommState would refuse the DCB on Windows; empty when it would not.
std::string refusal(const DCB& dcb) {
  if (dcb.DCBlength != sizeof(DCB)) return "DCBlength is not the size of a DCB";
  if (dcb.XonChar == dcb.XoffChar) return "XonChar equals XoffChar";
  if (dcb.ByteSize < 5 || dcb.ByteSize > 8) return "ByteSize outside 5 to 8";
  if (dcb.ByteSize == 5 && dcb.StopBits == TWOSTOPBITS) return "5 data bits with 2 stop bits";
  if (dcb.ByteSize > 5 && dcb.StopBits == ONE5STOPBITS)
    return "1.5 stop bits with 6 to 8 data bits";
  if (dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS) return "unknown parity or stop bits";
  return {};
}

// What a USB adapter's driver typically reports: flow control left on by
// another program, DTR off, RTS raised.
DCB adapterDcb() {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = 115200;
  dcb.ByteSize = 7;
  dcb.Parity = EVENPARITY;
  dcb.fParity = TRUE;
  dcb.StopBits = TWOSTOPBITS;
  dcb.fOutxCtsFlow = TRUE;
  dcb.fOutX = TRUE;
  dcb.fInX = TRUE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.XonLim = 2048;
  dcb.XoffLim = 512;
  return dcb;
}

void expect9600EightNoneOne(const DCB& dcb) {
  EXPECT_EQ(dcb.BaudRate, 9600u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_TRUE(dcb.fBinary);
  EXPECT_FALSE(dcb.fOutX || dcb.fInX || dcb.fOutxCtsFlow || dcb.fOutxDsrFlow);
}

// A port that reports a DCB of zeros (some drivers do; the command stream
// used to build its DCB that way) still gets one Windows takes.
TEST(Win32Dcb, BothLinesAreOnesWindowsAcceptsWhateverThePortReported) {
  DCB zero{};
  zero.DCBlength = sizeof zero;
  for (const DCB& port : {zero, adapterDcb()}) {
    const DCB stream = commandStreamDcb(port, SerialStreamSettings("COM3"));
    EXPECT_EQ(refusal(stream), "");
    expect9600EightNoneOne(stream);
    const DCB master = masterLineDcb(port, 9600, 8, 1, 0, 0);
    EXPECT_EQ(refusal(master), "");
    expect9600EightNoneOne(master);
  }
  EXPECT_EQ(refusal(masterLineDcb(zero, 19200, 7, 2, 2, 1)), "");
}

TEST(Win32Dcb, TheCommandStreamChangesOnlyWhatItNeeds) {
  SerialStreamSettings settings("COM3");
  settings.eventChar = '\n';
  const DCB port = adapterDcb();
  const DCB stream = commandStreamDcb(port, settings);
  EXPECT_EQ(stream.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));  // as the port had it
  EXPECT_EQ(stream.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
  EXPECT_EQ(stream.EvtChar, '\n');
  EXPECT_EQ(stream.XonChar, 0x11);
  EXPECT_EQ(stream.XoffChar, 0x13);
  EXPECT_EQ(stream.XonLim, 2048);
  EXPECT_EQ(stream.XoffLim, 512);

  // The master's line raises DTR and hands RTS to the handshake it is given.
  const DCB plain = masterLineDcb(port, 9600, 8, 1, 0, 0);
  EXPECT_EQ(plain.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
  EXPECT_EQ(plain.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
  const DCB handshaking = masterLineDcb(port, 9600, 8, 1, 1, 1);
  EXPECT_TRUE(handshaking.fOutxCtsFlow);
  EXPECT_EQ(handshaking.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
  EXPECT_EQ(handshaking.Parity, ODDPARITY);
  EXPECT_TRUE(handshaking.fParity);
}

TEST(Win32Comm, AMissingPortIsNotFoundAndAHeldOneInUse) {
  EXPECT_EQ(openFailure(ERROR_FILE_NOT_FOUND), SERIAL_NOT_FOUND);
  EXPECT_EQ(openFailure(ERROR_PATH_NOT_FOUND), SERIAL_NOT_FOUND);
  EXPECT_EQ(openFailure(ERROR_ACCESS_DENIED), SERIAL_ACCESS_DENIED);
  EXPECT_EQ(openFailure(ERROR_SHARING_VIOLATION), SERIAL_ACCESS_DENIED);
  EXPECT_EQ(openFailure(ERROR_GEN_FAILURE), SERIAL_SYSTEM_ERROR);

  // And so it is through the port, by either form of the name.
  for (const char* name : {"COM199", "\\\\.\\COM199", "\\\\.\\no-such-folder\\COM3"}) {
    SerialPort port;
    EXPECT_EQ(port.open(name), SERIAL_NOT_FOUND) << name;
    EXPECT_FALSE(port.isOpen());
  }
}

}  // namespace
}  // namespace vs::win32_comm
