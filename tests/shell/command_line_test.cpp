#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(CommandLine, ReadsTheProgramsOptions) {
  const auto line = parseCommandLine({"--port", "/dev/ttyUSB0", "--data-dir", "/tmp/qx4"});
  EXPECT_EQ(line.error, "");
  EXPECT_EQ(line.port, "/dev/ttyUSB0");
  EXPECT_EQ(line.dataDirectory, std::filesystem::path("/tmp/qx4"));
  EXPECT_FALSE(line.simulate);

  EXPECT_TRUE(parseCommandLine({"--simulate"}).simulate);
  EXPECT_TRUE(parseCommandLine({"--version"}).version);
  EXPECT_TRUE(parseCommandLine({"--help"}).help);
}

// Arguments arrive in UTF-8 on every system; Windows keeps paths in UTF-16.
TEST(CommandLine, AFolderNamedOutsideAsciiKeepsItsName) {
  const auto line = parseCommandLine({"--data-dir", "C:\\Users\\J\xc3\xb6rg\\ORB_QX4"});
  ASSERT_TRUE(line.dataDirectory);
  EXPECT_TRUE(line.dataDirectory->u8string() == u8"C:\\Users\\J\u00f6rg\\ORB_QX4");
}

TEST(CommandLine, RefusesWhatItDoesNotUnderstand) {
  EXPECT_EQ(parseCommandLine({"--port"}).error, "--port needs a value");
  EXPECT_EQ(parseCommandLine({"--port", ""}).error, "--port needs a value");
  EXPECT_EQ(parseCommandLine({"--baud", "19200"}).error, "unknown argument: --baud");
  EXPECT_NE(parseCommandLine({"--simulate", "--port", "COM3"}).error, "");
}

}  // namespace
}  // namespace vs
