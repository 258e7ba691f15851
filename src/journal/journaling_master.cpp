#include "journal/journaling_master.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "link/master_result.h"
#include "registers/register_map.h"

namespace vs {
namespace {

std::uint16_t get16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>((at[0] << 8) | at[1]);
}

std::uint32_t key(int slave, int reg) {
  return (static_cast<std::uint32_t>(slave) << 16) | static_cast<std::uint32_t>(reg - 1);
}

template <typename T>
std::string text(const std::optional<T>& value) {
  return value ? std::to_string(*value) : std::string();
}

// Hundredths as the window title shows them: 462 is "4.62".
std::string versionText(const std::optional<std::int16_t>& firmware) {
  if (!firmware) return {};
  char number[16];
  const auto end =
      std::to_chars(number, number + sizeof number, *firmware / 100.0, std::chars_format::fixed, 2)
          .ptr;
  return std::string(number, end);
}

std::string registerName(int reg) {
  const int position = reg - kFirstSettingsRegister;
  if (position < 0 || position >= kSettingsRegisterCount) return {};
  return std::string(RegisterMap[static_cast<std::size_t>(position)]);
}

// The quantity of a block request, never more than its bytes hold.
int quantity(const std::uint8_t* at, int available, int bytesEach) {
  return std::clamp<int>(get16(at), 0, std::max(0, available) / bytesEach);
}

}  // namespace

std::string journalOutcome(int slave, int result) {
  if (result == MODBUS_OK) return slave == 0 ? "sent (broadcast, no reply)" : "ok";
  if (!isExceptionReply(result)) return masterResultText(result);
  const std::string name = masterResultName(result);
  // An exception code without a name of its own keeps its number.
  return "refused (" + (name == "MODBUS_EXCEPTION" ? masterResultText(result) : name) + ")";
}

JournalingMaster::JournalingMaster(ModbusMaster& inner, ChangeJournal journal, LocalClock clock)
    : inner_(inner), journal_(std::move(journal)), clock_(std::move(clock)) {}

int JournalingMaster::transact(int slave, int function, const std::uint8_t* request,
                               int requestLength, std::uint8_t* reply, int replyLength) {
  // The reply may land on the request.
  const int length = std::clamp(requestLength, 0, kScratchSize);
  std::memcpy(sent_, request, static_cast<std::size_t>(length));
  const int result = inner_.transact(slave, function, request, requestLength, reply, replyLength);
  // The outcome the caller will see, echo and byte count checked.
  const int outcome = result == MODBUS_OK ? checkReply(slave, function, sent_, reply) : result;
  if (const auto writes = writesOf(function, length); !writes.empty()) {
    journal(slave, writes, outcome);
  }
  if (outcome == MODBUS_OK && (function == 3 || function == 23)) {
    const int first = get16(sent_) + 1;
    const int count = std::min<int>(get16(sent_ + 2), std::max(0, replyLength - 1) / 2);
    for (int i = 0; i < count; ++i) {
      learn(slave, first + i, static_cast<std::int16_t>(get16(reply + 1 + 2 * i)));
    }
  }
  return result;
}

std::vector<JournalingMaster::SentWrite> JournalingMaster::writesOf(int function,
                                                                    int requestLength) const {
  std::vector<SentWrite> writes;
  if (requestLength < 4) return writes;
  const int first = get16(sent_) + 1;
  const auto registers = [&](int start, const std::uint8_t* values, int count) {
    for (int i = 0; i < count; ++i) {
      const auto value = static_cast<std::int16_t>(get16(values + 2 * i));
      writes.push_back({start + i, false, std::to_string(value), value});
    }
  };
  switch (function) {
    case 5: writes.push_back({first, true, get16(sent_ + 2) != 0 ? "1" : "0", std::nullopt}); break;
    case 6: registers(first, sent_ + 2, 1); break;
    case 15: {
      const int count = std::min<int>(get16(sent_ + 2), 8 * std::max(0, requestLength - 5));
      for (int i = 0; i < count; ++i) {
        const bool on = (sent_[5 + i / 8] >> (i % 8)) & 1;
        writes.push_back({first + i, true, on ? "1" : "0", std::nullopt});
      }
      break;
    }
    case 16: registers(first, sent_ + 5, quantity(sent_ + 2, requestLength - 5, 2)); break;
    case 22: {
      if (requestLength < 6) break;
      char masks[32];
      std::snprintf(masks, sizeof masks, "AND 0x%04X OR 0x%04X", get16(sent_ + 2),
                    get16(sent_ + 4));
      writes.push_back({first, false, masks, std::nullopt});
      break;
    }
    case 23:
      if (requestLength < 8) break;
      registers(get16(sent_ + 4) + 1, sent_ + 9, quantity(sent_ + 6, requestLength - 9, 2));
      break;
    default: break;
  }
  return writes;
}

JournalLine JournalingMaster::lineFor(int slave) const {
  JournalLine line;
  line.time = dateTimeText(clock_());
  line.port = port_;
  line.deviceId = std::to_string(slave);
  if (const auto found = identities_.find(slave); found != identities_.end()) {
    line.serialNumber = text(found->second.serialNumber);
    line.firmware = versionText(found->second.firmware);
  }
  line.action = action_.name;
  line.file = action_.file.string();
  return line;
}

void JournalingMaster::journal(int slave, const std::vector<SentWrite>& writes, int result) {
  const JournalLine common = lineFor(slave);
  const std::string outcome = journalOutcome(slave, result);
  std::vector<JournalLine> lines;
  lines.reserve(writes.size());
  for (const SentWrite& write : writes) {
    JournalLine& line = lines.emplace_back(common);
    line.reg = std::to_string(write.number);
    line.name = write.coil ? "coil" : registerName(write.number);
    if (!write.coil) line.before = text(lastRead(slave, write.number));
    line.written = write.written;
    line.outcome = outcome;
  }
  report(journal_.append(lines));

  // What the controllers hold now: a refused write changed nothing; a write
  // that went unanswered may or may not have been carried out.
  if (isExceptionReply(result)) return;
  for (const SentWrite& write : writes) {
    if (write.coil) continue;
    const std::optional<std::int16_t> now = result == MODBUS_OK ? write.value : std::nullopt;
    if (slave != 0) {
      written(slave, write.number, now);
      continue;
    }
    // A broadcast reaches every controller on the line.
    for (auto& [id, identity] : identities_) written(id, write.number, now);
    std::erase_if(lastRead_, [&](const auto& entry) {
      return (entry.first & 0xFFFF) == static_cast<std::uint32_t>(write.number - 1);
    });
  }
}

void JournalingMaster::written(int slave, int reg, std::optional<std::int16_t> now) {
  lastRead_.erase(key(slave, reg));
  if (reg == REG_SERIAL_NUMBER) identities_[slave].serialNumber = now;
  if (reg == REG_FIRMWARE_VERSION) identities_[slave].firmware = now;
}

void JournalingMaster::learn(int slave, int reg, std::int16_t value) {
  lastRead_[key(slave, reg)] = value;
  if (reg == REG_SERIAL_NUMBER) identities_[slave].serialNumber = value;
  if (reg == REG_FIRMWARE_VERSION) identities_[slave].firmware = value;
}

void JournalingMaster::note(int slave, const std::string& outcome,
                            const std::filesystem::path& file) {
  JournalLine line = lineFor(slave);
  line.outcome = outcome;
  line.file = file.string();
  report(journal_.append({line}));
}

std::optional<std::int16_t> JournalingMaster::lastRead(int slave, int reg) const {
  const auto found = lastRead_.find(key(slave, reg));
  if (found == lastRead_.end()) return std::nullopt;
  return found->second;
}

void JournalingMaster::forgetReadValues() {
  lastRead_.clear();
  identities_.clear();
}

void JournalingMaster::report(std::string problem) {
  if (problem == problem_) return;
  problem_ = std::move(problem);
  if (listener_) listener_(problem_);
}

JournalAction::JournalAction(JournalingMaster& master, std::string name, std::filesystem::path file)
    : master_(master), previous_(std::move(master.action_)) {
  master_.action_ = {std::move(name), std::move(file)};
}

JournalAction::~JournalAction() { master_.action_ = std::move(previous_); }

}  // namespace vs
