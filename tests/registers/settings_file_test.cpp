#include "registers/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace vs {
namespace {

std::string readAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeAll(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

constexpr std::size_t kAddressPosition = REG_MODBUS_ADDRESS - kFirstSettingsRegister;

// Consecutive values from `start` (wrapping at 16 bits) in every position but
// modbus_address, which holds a Device ID as every downloadable file must.
SettingsImage counting(int start) {
  SettingsImage image{};
  int value = start;
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::int16_t>(i == kAddressPosition ? 1 : value++);
  }
  return image;
}

TEST(SettingsFile, IsEachValueInDecimalFollowedByOneSpace) {
  test::TempDir dir;
  SettingsImage image{};
  image[0] = 0;
  image[1] = -1;
  image[2] = 32767;
  image[113] = -32768;
  ASSERT_TRUE(writeSettingsFile(dir / "a.dat", image));
  const std::string text = readAll(dir / "a.dat");
  EXPECT_EQ(text.substr(0, 10), "0 -1 32767");
  EXPECT_EQ(text.substr(10, 3), " 0 ");
  EXPECT_EQ(text.substr(text.size() - 8), " -32768 ");
  EXPECT_EQ(std::count(text.begin(), text.end(), ' '), 114);
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(SettingsFile, EverySixteenBitValueRoundTrips) {
  for (int start = -32768; start <= 32767; start += kSettingsRegisterCount - 1) {
    const SettingsImage image = counting(start);
    const auto content = parseSettings(formatSettings(image));
    ASSERT_TRUE(content.ok) << content.error;
    ASSERT_EQ(content.image, image);
  }
  test::TempDir dir;
  const SettingsImage image = counting(32767 - 113);
  ASSERT_TRUE(writeSettingsFile(dir / "r.dat", image));
  EXPECT_EQ(readSettingsFile(dir / "r.dat").image, image);
}

TEST(SettingsFile, AnyWhiteSpaceSeparatesValues) {
  const SettingsImage image = counting(-57);
  std::string lines;
  for (auto v : image) lines += std::to_string(v) + "\r\n";
  const auto content = parseSettings("\t " + lines);
  ASSERT_TRUE(content.ok);
  EXPECT_EQ(content.image, image);
  EXPECT_EQ(parseSettings(formatSettings(image)).image, image);
}

TEST(SettingsFile, RefusesAnythingButAWholeImageAndSaysWhy) {
  const std::string whole = formatSettings(counting(0));
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"", "The file holds 0 of the 114 values."},
      {whole.substr(0, whole.size() - 5), "The file holds 113 of the 114 values."},
      {"1 2 x 4", "Value 3 (o2_sp) is not a whole number from -32768 to 32767."},
      {"1 2.5", "Value 2 (stroke_offset) is not a whole number from -32768 to 32767."},
      {"32768", "Value 1 (stroke_gain) is not a whole number from -32768 to 32767."},
      {"-32769", "Value 1 (stroke_gain) is not a whole number from -32768 to 32767."},
      {"99999999999999999999", "Value 1 (stroke_gain) is not a whole number from -32768 to 32767."},
      {"- 5", "Value 1 (stroke_gain) is not a whole number from -32768 to 32767."},
      {std::string("\x7f"
                   "ELF\0\1",
                   6),
       "Value 1 (stroke_gain) is not a whole number from -32768 to 32767."},
      {whole + "5 ", "The file holds more than 114 values."},
  };
  for (const auto& c : cases) {
    const auto content = parseSettings(c.text);
    EXPECT_FALSE(content.ok) << c.text;
    EXPECT_EQ(content.error, c.error) << c.text;
  }
  EXPECT_TRUE(parseSettings(whole + "\n\n").ok);
  EXPECT_TRUE(parseSettings("+0 001 " + whole.substr(4)).ok);
}

// The download follows the address the file writes: 0 would make the rest of
// it broadcasts, and one above 247 leaves the controller half written.
TEST(SettingsFile, RefusesADeviceIdNoControllerAnswersAt) {
  for (const std::int16_t address : {0, -1, 248, 300}) {
    SettingsImage image = counting(5);
    image[kAddressPosition] = address;
    const auto content = parseSettings(formatSettings(image));
    EXPECT_FALSE(content.ok) << address;
    EXPECT_EQ(content.error, "Value 24 (modbus_address) is " + std::to_string(address) +
                                 ", not a Device ID from 1 to 247.");
  }
  for (const std::int16_t address : {1, 247}) {
    SettingsImage image = counting(5);
    image[kAddressPosition] = address;
    EXPECT_TRUE(parseSettings(formatSettings(image)).ok) << address;
  }
}

TEST(SettingsFile, RefusesMissingHugeAndUnwritableFiles) {
  test::TempDir dir;
  EXPECT_EQ(readSettingsFile(dir / "none.dat").error, "The file cannot be opened.");
  EXPECT_EQ(readSettingsFile(dir.path()).error, "The file cannot be opened.");
  writeAll(dir / "huge.dat", std::string(kMaxSettingsFileSize + 1, ' '));
  EXPECT_EQ(readSettingsFile(dir / "huge.dat").error, "The file is too large for a settings file.");
  EXPECT_FALSE(writeSettingsFile(dir / "no" / "such" / "folder.dat", counting(0)));
  EXPECT_FALSE(writeSettingsFile(dir.path(), counting(0)));
}

}  // namespace
}  // namespace vs
