#pragma once

#include <filesystem>
#include <fstream>

namespace vs {

// A file written whole or not at all. The bytes go to a temporary file beside
// the target (the same folder, so that the rename stays on one file system),
// which replaces the target only once every byte is written. Until then, and
// whenever writing fails, an earlier file of that name stays as it was: a full
// disk costs the new file, never the one it was to replace.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::filesystem::path target);
  // Removes the temporary file unless it was committed.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // False when the temporary file could not be created.
  bool isOpen() const { return stream_.is_open(); }
  std::ostream& stream() { return stream_; }

  // Closes the temporary file and renames it over the target; false, with
  // the target untouched, when anything was not written or the rename failed.
  bool commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream stream_;
  bool created_ = false;
};

}  // namespace vs
