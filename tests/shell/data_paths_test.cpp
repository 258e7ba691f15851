#include "shell/data_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace vs {
namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
  return [variables](const char* name) -> std::optional<std::filesystem::path> {
    const auto it = variables.find(name);
    if (it == variables.end() || it->second.empty()) return std::nullopt;
    return std::filesystem::path(it->second);
  };
}

#if defined(_WIN32)
TEST(DataPaths, UserDataFolderByDefault) {
  EXPECT_EQ(resolveDataDirectory(std::nullopt,
                                 environmentOf({{"LOCALAPPDATA", "C:\\Users\\tech\\AppData\\Local"},
                                                {"USERPROFILE", "C:\\Users\\other"}})),
            "C:\\Users\\tech\\AppData\\Local\\ORB_QX4");
  EXPECT_EQ(resolveDataDirectory(std::nullopt, environmentOf({{"USERPROFILE", "C:\\Users\\tech"}})),
            "C:\\Users\\tech\\AppData\\Local\\ORB_QX4");
  // The POSIX variables mean nothing here.
  EXPECT_EQ(resolveDataDirectory(std::nullopt, environmentOf({{"USERPROFILE", "D:\\tech"},
                                                              {"HOME", "/home/tech"},
                                                              {"XDG_DATA_HOME", "/data/xdg"}})),
            "D:\\tech\\AppData\\Local\\ORB_QX4");
}

TEST(DataPaths, ArgumentBeatsEnvironmentBeatsDefault) {
  const auto environment = environmentOf(
      {{"LOCALAPPDATA", "C:\\Users\\tech\\AppData\\Local"}, {"VALVESCOPE_DATA_DIR", "D:\\qx4"}});
  EXPECT_EQ(resolveDataDirectory(std::nullopt, environment), "D:\\qx4");
  EXPECT_EQ(resolveDataDirectory(std::filesystem::path("E:\\logs"), environment), "E:\\logs");
  // Either slash; a relative folder is taken from the current one.
  EXPECT_EQ(resolveDataDirectory(std::filesystem::path("rel/logs"), environment),
            std::filesystem::current_path() / "rel" / "logs");
  EXPECT_EQ(resolveDataDirectory(std::filesystem::path(), environment), "D:\\qx4");
}
#else
TEST(DataPaths, UserDataFolderByDefault) {
  EXPECT_EQ(resolveDataDirectory(std::nullopt, environmentOf({{"HOME", "/home/tech"}})),
            "/home/tech/.local/share/ORB_QX4");
  EXPECT_EQ(resolveDataDirectory(std::nullopt, environmentOf({{"HOME", "/home/tech"},
                                                              {"XDG_DATA_HOME", "/data/xdg"}})),
            "/data/xdg/ORB_QX4");
  // A relative XDG_DATA_HOME is not to be used.
  EXPECT_EQ(resolveDataDirectory(std::nullopt,
                                 environmentOf({{"HOME", "/home/tech"}, {"XDG_DATA_HOME", "rel"}})),
            "/home/tech/.local/share/ORB_QX4");
}

TEST(DataPaths, ArgumentBeatsEnvironmentBeatsDefault) {
  const auto environment =
      environmentOf({{"HOME", "/home/tech"}, {"VALVESCOPE_DATA_DIR", "/srv/qx4"}});
  EXPECT_EQ(resolveDataDirectory(std::nullopt, environment), "/srv/qx4");
  EXPECT_EQ(resolveDataDirectory(std::filesystem::path("/mnt/usb/logs"), environment),
            "/mnt/usb/logs");
  EXPECT_EQ(resolveDataDirectory(std::filesystem::path("rel/logs"), environment),
            std::filesystem::current_path() / "rel/logs");
  EXPECT_EQ(resolveDataDirectory(std::filesystem::path(), environment), "/srv/qx4");
}

#endif

TEST(DataPaths, CreatesTheFolderWithItsParents) {
  test::TempDir dir;
  const auto folder = dir / "home" / ".local" / "share" / "ORB_QX4";
  EXPECT_EQ(ensureDataDirectory(folder), std::error_code());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ensureDataDirectory(folder), std::error_code());  // an existing folder is no error
  EXPECT_EQ(commConfigPath(folder), folder / "comm_config.dat");

  std::ofstream(dir / "file") << "x";
  EXPECT_EQ(ensureDataDirectory(dir / "file" / "ORB_QX4"), std::errc::not_a_directory);
  EXPECT_EQ(ensureDataDirectory(dir / "file"), std::errc::not_a_directory);
}

}  // namespace
}  // namespace vs
