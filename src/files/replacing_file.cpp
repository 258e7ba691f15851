#include "files/replacing_file.h"

#include <system_error>
#include <utility>

namespace vs {
namespace {

std::filesystem::path temporaryFor(const std::filesystem::path& target) {
  std::filesystem::path temporary = target;
  temporary += ".partial";
  return temporary;
}

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target)
    : target_(std::move(target)),
      temporary_(temporaryFor(target_)),
      stream_(temporary_, std::ios::binary | std::ios::trunc),
      created_(stream_.is_open()) {}

ReplacingFile::~ReplacingFile() {
  if (!created_) return;
  stream_.close();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

bool ReplacingFile::commit() {
  if (!created_) return false;
  stream_.close();
  if (stream_.fail()) return false;
  // Replaces an existing target on Windows too (MoveFileEx with
  // MOVEFILE_REPLACE_EXISTING underneath).
  std::error_code error;
  std::filesystem::rename(temporary_, target_, error);
  if (error) return false;
  created_ = false;
  return true;
}

}  // namespace vs
