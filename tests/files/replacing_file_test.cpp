#include "files/replacing_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#if !defined(_WIN32)
#include "support/full_disk.h"
#endif
#include "support/temp_dir.h"

namespace vs {
namespace {

std::string readAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool write(const std::filesystem::path& target, const std::string& text) {
  ReplacingFile file(target);
  file.stream() << text;
  return file.commit();
}

TEST(ReplacingFile, ReplacesTheWholeFileOrLeavesTheEarlierOne) {
  test::TempDir dir;
  const auto target = dir / "a.dat";
  std::ofstream(target) << std::string(2000, '9');
  ASSERT_TRUE(write(target, "new"));
  EXPECT_EQ(readAll(target), "new");
  EXPECT_FALSE(std::filesystem::exists(dir / "a.dat.partial"));

#if !defined(_WIN32)  // a full disk is made with the POSIX file-size limit
  {
    const test::FullDisk full(2);
    EXPECT_FALSE(write(target, std::string(100'000, 'x')));
  }
  EXPECT_EQ(readAll(target), "new");
#endif

  // Given up before commit: as if never begun.
  {
    ReplacingFile abandoned(target);
    abandoned.stream() << "half";
  }
  EXPECT_EQ(readAll(target), "new");

  // Neither a missing folder nor a folder in the file's place takes the file.
  EXPECT_FALSE(write(dir / "no-such-folder" / "b.dat", "x"));
  std::filesystem::create_directories(dir / "c.dat" / "inside");
  EXPECT_FALSE(write(dir / "c.dat", "x"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "c.dat" / "inside"));

  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(entry.path().extension(), ".partial") << entry.path();
  }
}

}  // namespace
}  // namespace vs
