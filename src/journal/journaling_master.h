#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "journal/change_journal.h"
#include "link/modbus_master.h"
#include "time/local_date_time.h"

namespace vs {

// A request's outcome as the journal says it: "ok", "refused
// (MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE)" for the controller's exception, else
// the master's result, "MODBUS_REPLY_TIMEOUT (132)".
std::string journalOutcome(int slave, int result);

// A Modbus master in front of another: every request goes on to the inner
// master unchanged, and every register a request writes (function codes 5, 6,
// 15, 16, 22 and 23) becomes a line of the change journal, written before
// the caller learns the outcome. So every dialog and command that writes
// through it is on record without doing anything itself.
//
// The value before is what this session last read from that register of that
// controller (function 3 or 23) and has not written since: a value never read,
// or written since, is not claimed. The serial number (register 134) and
// firmware (28) are learned the same way from the reads that pass, per Device
// ID. The port and the action come from the caller (setPort, JournalAction).
//
// Line settings, retries and counters belong to the inner master: open and
// set it up there. The word-order options of the 32-bit operations are this
// master's own, as these operations split their values here.
//
// Like any master it serves one thread at a time: the one that runs the
// exchanges.
class JournalingMaster final : public ModbusMaster {
 public:
  using LocalClock = std::function<LocalDateTime()>;
  // Hears the journal's problem text whenever it changes: why a line could not
  // be written, or empty once lines are written again.
  using ProblemListener = std::function<void(const std::string& problem)>;

  JournalingMaster(ModbusMaster& inner, ChangeJournal journal, LocalClock clock = localNow);

  void setPort(std::string port) { port_ = std::move(port); }
  void setProblemListener(ProblemListener listener) { listener_ = std::move(listener); }
  // Empty while the journal is being written.
  const std::string& problem() const { return problem_; }
  const ChangeJournal& journal() const { return journal_; }
  LocalDateTime now() const { return clock_(); }

  // A line that writes no register, under the current action: an event such
  // as the backup before a download, with its outcome and file.
  void note(int slave, const std::string& outcome, const std::filesystem::path& file);

  // What this session read from the register and has not written since.
  std::optional<std::int16_t> lastRead(int slave, int reg) const;
  // Another controller may answer from now on (a new connection, port or
  // Device ID): nothing read so far is claimed any more.
  void forgetReadValues();

  bool isOpen() const override { return inner_.isOpen(); }
  void close() override { inner_.close(); }
  int transact(int slave, int function, const std::uint8_t* request, int requestLength,
               std::uint8_t* reply, int replyLength) override;

 private:
  friend class JournalAction;
  struct Action {
    std::string name;
    std::filesystem::path file;
  };
  struct Identity {
    std::optional<std::int16_t> serialNumber;
    std::optional<std::int16_t> firmware;
  };
  // One register (or coil) a request writes.
  struct SentWrite {
    int number = 0;
    bool coil = false;
    std::string written;                // as the journal shows it
    std::optional<std::int16_t> value;  // what the register holds once written, if known
  };

  std::vector<SentWrite> writesOf(int function, int requestLength) const;
  JournalLine lineFor(int slave) const;
  void journal(int slave, const std::vector<SentWrite>& writes, int result);
  void learn(int slave, int reg, std::int16_t value);
  // The register now holds `now`, if that is known.
  void written(int slave, int reg, std::optional<std::int16_t> now);
  void report(std::string problem);

  ModbusMaster& inner_;
  ChangeJournal journal_;
  LocalClock clock_;
  ProblemListener listener_;
  std::string problem_;
  std::string port_;
  Action action_;
  std::unordered_map<std::uint32_t, std::int16_t> lastRead_;  // by Device ID and register
  std::map<int, Identity> identities_;                        // by Device ID
  std::uint8_t sent_[kScratchSize] = {};
};

// The action (and the settings file, if any) named on every journal line
// written while it lives: "Pressure Settings", "valvescope-cli download". The
// code that runs a dialog's or a job's exchanges holds one around them; when
// it goes, the action it replaced is back, so actions nest.
class JournalAction {
 public:
  JournalAction(JournalingMaster& master, std::string name, std::filesystem::path file = {});
  ~JournalAction();
  JournalAction(const JournalAction&) = delete;
  JournalAction& operator=(const JournalAction&) = delete;

 private:
  JournalingMaster& master_;
  JournalingMaster::Action previous_;
};

}  // namespace vs
