#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli_text.h"
#include "commands.h"
#include "link_session.h"
#include "registers/register_map.h"

namespace vs::cli {
namespace {

constexpr long kLastRegister = 65536;
constexpr long kMaxReadCount = 125;

// A checked number, or the usage complaint naming what was wrong.
std::optional<long> argument(const std::string& text, std::string_view what, long low, long high) {
  const auto number = parseNumber(text, LONG_MIN, LONG_MAX);
  if (!number) {
    complain(std::string(what) + " " + text + " is not a whole number");
  } else if (*number < low || *number > high) {
    complain(std::string(what) + " " + text + " is outside " + std::to_string(low) + " to " +
             std::to_string(high));
  } else {
    return number;
  }
  return std::nullopt;
}

// "114 720 o2_sp": register, signed value and, for a settings register, its name.
void printRegister(long reg, std::int16_t value) {
  std::string line = std::to_string(reg) + " " + std::to_string(value);
  const long position = reg - kFirstSettingsRegister;
  if (position >= 0 && position < kSettingsRegisterCount) {
    line += " ";
    line += RegisterMap[static_cast<std::size_t>(position)];
  }
  std::puts(line.c_str());
}

}  // namespace

int runRead(const Invocation& invocation) {
  const auto reg = argument(invocation.args[0], "register", 1, kLastRegister);
  if (!reg) return CLI_USAGE;
  std::optional<long> count = 1;
  if (invocation.args.size() > 1) {
    count =
        argument(invocation.args[1], "count", 1, std::min(kMaxReadCount, kLastRegister - *reg + 1));
    if (!count) return CLI_USAGE;
  }

  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  std::vector<std::int16_t> values(static_cast<std::size_t>(*count));
  const int result = link.master().readHoldingRegisters(link.slave(), static_cast<int>(*reg),
                                                        values.data(), static_cast<int>(*count));
  if (result != MODBUS_OK) {
    return link.fail(
        "reading registers " + std::to_string(*reg) + " to " + std::to_string(*reg + *count - 1),
        result);
  }
  for (long i = 0; i < *count; ++i) printRegister(*reg + i, values[static_cast<std::size_t>(i)]);
  return CLI_OK;
}

int runWrite(const Invocation& invocation) {
  const auto reg = argument(invocation.args[0], "register", 1, kLastRegister);
  if (!reg) return CLI_USAGE;
  const std::string& text = invocation.args[1];
  const auto value = parseNumber(text, LONG_MIN, LONG_MAX);
  if (!value) {
    complain("value " + text + " is not a whole number; nothing was written");
    return CLI_USAGE;
  }
  if (*value < -32768 || *value > 65535) {
    complain("value " + text +
             " does not fit a 16-bit register (-32768 to 65535); nothing was written");
    return CLI_USAGE;
  }

  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  const JournalAction action(link.master(), "valvescope-cli write");
  const int target = static_cast<int>(*reg);
  if (const int read = link.readAhead({REG_FIRMWARE_VERSION, REG_SERIAL_NUMBER, target});
      read != CLI_OK) {
    return read;
  }
  // 65535 and -1 are the same register contents.
  const auto word = static_cast<std::int16_t>(static_cast<std::uint16_t>(*value & 0xFFFF));
  const int result = link.master().writeSingleRegister(link.slave(), target, word);
  if (result != MODBUS_OK) return link.fail("writing register " + std::to_string(*reg), result);
  printRegister(*reg, word);
  return CLI_OK;
}

}  // namespace vs::cli
