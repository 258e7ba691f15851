#include "link/send_exit_command.h"

#include "link/serial_stream.h"

namespace vs {

void SendExitCommand(const ExitCommandWindow& window, const std::string& portName, int baudRate,
                     int commandKind) {
  SerialStreamSettings settings(portName);
  settings.setBaudRate(baudRate).setEightDataBits().setNoParity().setOneStopBit();
  SerialStream stream(settings);
  if (stream.isOpen()) {
    CommNotifyRequest request;
    request.kind = COMM_NOTIFY_WINDOW;
    request.target = window.notify;
    request.eventMask = COMM_EV_RXFLAG;
    request.eventChar = '\n';
    stream.requestNotification(request);
    if (commandKind == EXIT_COMMAND_OUT) stream << "OUT";
  } else if (window.warn) {
    window.warn(
        "Another program is using the selected communication port.\nFree the port and try again.",
        "Notice(B_19200)");
  }
  if (stream.isOpen()) stream.close();
}

}  // namespace vs
