#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/modbus_master.h"
#include "registers/register_map.h"
#include "registers/settings_image.h"

namespace vs {

// The whole settings register set between a controller and a settings file,
// without any window: the dialogs use the block transfers, and the
// command-line tool runs upload, download and diff for commissioning from
// scripts.

// The outcome of the five block requests: the first failing result and its
// block, or 0.
struct BlockTransfer {
  int result = 0;
  const SettingsBlock* failedBlock = nullptr;
};

// "reading registers 112 to 133: MODBUS_REPLY_TIMEOUT (132)" for a failed transfer.
std::string blockFailure(std::string_view verb, const BlockTransfer& transfer);

// The five block reads into the image, all five attempted.
BlockTransfer readSettingsBlocks(ModbusMaster& master, int slave, SettingsImage& image);
// The five block writes, all five attempted. A block that moves the
// controller's modbus_address (135) moves `slave` with it once written, so the
// rest of the transfer reaches the controller. `before`, if given, hears of
// each block (0 to 4) before it goes out.
BlockTransfer writeSettingsBlocks(ModbusMaster& master, int& slave, const SettingsImage& image,
                                  const std::function<void(std::size_t block)>& before = {});

struct RegisterDifference {
  int position = 0;  // in the register map
  std::int16_t file = 0;
  std::int16_t controller = 0;
};
// "135 modbus_address: file 1, controller 5"
std::string describe(const RegisterDifference& difference);

struct TransferResult {
  bool ok = false;
  std::string error;  // why it failed; empty on success
  std::vector<RegisterDifference> differences;
  int slave = 0;  // the controller's address at the end
};

// Controller to file, in the settings file format.
TransferResult uploadSettings(ModbusMaster& master, int slave, const std::filesystem::path& file);

// File to controller as the download dialog does it (the file must be a whole
// settings image; the five block writes; after `settle`, 4660 to register 12;
// the save command), then the five blocks read back: every register that
// differs from the file is listed and fails the download.
TransferResult downloadSettings(ModbusMaster& master, int slave, const std::filesystem::path& file,
                                std::chrono::milliseconds settle);

// Every register whose value in the controller differs from the file. ok means
// the comparison was made, whatever it found.
TransferResult diffSettings(ModbusMaster& master, int slave, const std::filesystem::path& file);

// Outside the settings map: 4660 here tells the controller a download is complete.
inline constexpr int REG_DOWNLOAD_DONE = 12;
// The wait of the download dialog between the block writes and register 12.
inline constexpr std::chrono::milliseconds kDownloadSettleTime{99 * 50};

}  // namespace vs
