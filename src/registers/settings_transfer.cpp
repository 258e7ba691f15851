#include "registers/settings_transfer.h"

#include <thread>

#include "link/master_result.h"
#include "registers/settings_file.h"

namespace vs {
namespace {

constexpr int kModbusAddressPosition = REG_MODBUS_ADDRESS - kFirstSettingsRegister;

// "writing register 12: MODBUS_REPLY_TIMEOUT (132)", as every failure of the
// command-line tool reads.
std::string failure(const std::string& what, int result) {
  return what + ": " + masterResultText(result);
}

void note(BlockTransfer& transfer, int result, const SettingsBlock& block) {
  if (transfer.result != 0 || result == 0) return;
  transfer.result = result;
  transfer.failedBlock = &block;
}

// The save command changes register 144 by itself, so it is no setting to compare.
std::vector<RegisterDifference> compare(const SettingsImage& file,
                                        const SettingsImage& controller) {
  std::vector<RegisterDifference> differences;
  for (int i = 0; i < kSettingsRegisterCount; ++i) {
    const auto p = static_cast<std::size_t>(i);
    if (registerOfPosition(i) == REG_SAVE_DATA_COMMAND || file[p] == controller[p]) continue;
    differences.push_back({i, file[p], controller[p]});
  }
  return differences;
}

}  // namespace

BlockTransfer readSettingsBlocks(ModbusMaster& master, int slave, SettingsImage& image) {
  BlockTransfer transfer;
  for (const auto& block : kSettingsBlocks) {
    note(transfer,
         master.readHoldingRegisters(slave, block.firstRegister, image.data() + block.firstPosition,
                                     block.count),
         block);
  }
  return transfer;
}

BlockTransfer writeSettingsBlocks(ModbusMaster& master, int& slave, const SettingsImage& image,
                                  const std::function<void(std::size_t block)>& before) {
  BlockTransfer transfer;
  for (std::size_t i = 0; i < kSettingsBlocks.size(); ++i) {
    const SettingsBlock& block = kSettingsBlocks[i];
    if (before) before(i);
    const int result = master.writeMultipleRegisters(
        slave, block.firstRegister, image.data() + block.firstPosition, block.count);
    const bool holdsAddress = block.firstPosition <= kModbusAddressPosition &&
                              kModbusAddressPosition < block.firstPosition + block.count;
    if (result == 0 && holdsAddress) slave = image[kModbusAddressPosition];
    note(transfer, result, block);
  }
  return transfer;
}

std::string blockFailure(std::string_view verb, const BlockTransfer& transfer) {
  const SettingsBlock& block = *transfer.failedBlock;
  return std::string(verb) + " registers " + std::to_string(block.firstRegister) + " to " +
         std::to_string(block.firstRegister + block.count - 1) + ": " +
         masterResultText(transfer.result);
}

std::string describe(const RegisterDifference& difference) {
  return std::to_string(registerOfPosition(difference.position)) + " " +
         std::string(RegisterMap[static_cast<std::size_t>(difference.position)]) + ": file " +
         std::to_string(difference.file) + ", controller " + std::to_string(difference.controller);
}

TransferResult uploadSettings(ModbusMaster& master, int slave, const std::filesystem::path& file) {
  TransferResult outcome;
  outcome.slave = slave;
  SettingsImage image{};
  if (const auto read = readSettingsBlocks(master, slave, image); read.result != 0) {
    outcome.error = blockFailure("reading", read);
  } else if (!writeSettingsFile(file, image)) {
    outcome.error = "writing " + file.string() + " failed";
  } else {
    outcome.ok = true;
  }
  return outcome;
}

TransferResult downloadSettings(ModbusMaster& master, int slave, const std::filesystem::path& file,
                                std::chrono::milliseconds settle) {
  TransferResult outcome;
  outcome.slave = slave;
  const SettingsFileContent content = readSettingsFile(file);
  if (!content.ok) {
    outcome.error = file.string() + ": " + content.error + " Nothing was written.";
    return outcome;
  }
  if (const auto written = writeSettingsBlocks(master, outcome.slave, content.image);
      written.result != 0) {
    outcome.error = blockFailure("writing", written);
    return outcome;
  }
  std::this_thread::sleep_for(settle);
  if (const int result =
          master.writeSingleRegister(outcome.slave, REG_DOWNLOAD_DONE, kSaveCommandValue);
      result != 0) {
    outcome.error = failure("writing register 12", result);
    return outcome;
  }
  if (const int result =
          master.writeSingleRegister(outcome.slave, REG_SAVE_DATA_COMMAND, kSaveCommandValue);
      result != 0) {
    outcome.error = failure("writing register 144 (the save command)", result);
    return outcome;
  }
  SettingsImage controller{};
  if (const auto read = readSettingsBlocks(master, outcome.slave, controller); read.result != 0) {
    outcome.error = blockFailure("reading back", read);
    return outcome;
  }
  outcome.differences = compare(content.image, controller);
  outcome.ok = outcome.differences.empty();
  if (!outcome.ok) {
    outcome.error = std::to_string(outcome.differences.size()) +
                    " registers differ from the file after the download";
  }
  return outcome;
}

TransferResult diffSettings(ModbusMaster& master, int slave, const std::filesystem::path& file) {
  TransferResult outcome;
  outcome.slave = slave;
  const SettingsFileContent content = readSettingsFile(file);
  if (!content.ok) {
    outcome.error = file.string() + ": " + content.error;
    return outcome;
  }
  SettingsImage controller{};
  if (const auto read = readSettingsBlocks(master, slave, controller); read.result != 0) {
    outcome.error = blockFailure("reading", read);
    return outcome;
  }
  outcome.differences = compare(content.image, controller);
  outcome.ok = true;
  return outcome;
}

}  // namespace vs
