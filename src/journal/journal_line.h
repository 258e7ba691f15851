#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vs {

// One line of the change journal: one register written to a controller, or
// one event around such writes (the backup before a download). Every field
// is text as the journal holds it; a field that is not known is empty.
struct JournalLine {
  std::string time;          // local, "2026-05-01 14:03:07"
  std::string port;          // "/dev/ttyUSB0", "COM3"
  std::string deviceId;      // the Modbus address written to; 0 is broadcast
  std::string serialNumber;  // register 134 as last read or written
  std::string firmware;      // register 28 as a version, "4.62"
  std::string action;        // the dialog or command: "Pressure Settings"
  std::string reg;           // the register (or coil) number; empty for an event
  std::string name;          // the register's name in the settings map
  std::string before;        // the value last read from it and not written since
  std::string written;       // the value sent
  std::string outcome;       // "ok", "refused (...)", "MODBUS_REPLY_TIMEOUT (132)"
  std::string file;          // the backup made, or the settings file downloaded

  friend bool operator==(const JournalLine&, const JournalLine&) = default;
};

// The header row's names, in column order.
const std::vector<std::string>& journalHeader();
std::vector<std::string> journalFields(const JournalLine& line);
// A record of the journal's columns as a line; nothing for any other record.
std::optional<JournalLine> journalLineOf(const std::vector<std::string>& fields);

}  // namespace vs
