#include "journal/change_journal.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "journal/csv_text.h"

namespace vs {
namespace {

std::string problem(const std::filesystem::path& file, int error) {
  return "Change journal not written: " + file.string() + ": " +
         std::generic_category().message(error != 0 ? error : EIO);
}

}  // namespace

std::filesystem::path journalPath(const std::filesystem::path& dataDirectory) {
  return dataDirectory / "journal.csv";
}

std::string ChangeJournal::append(const std::vector<JournalLine>& lines) {
  std::error_code ignored;
  // A folder that cannot be made shows as the file that cannot be opened.
  std::filesystem::create_directories(file_.parent_path(), ignored);
  std::error_code missing;
  const std::uintmax_t size = std::filesystem::file_size(file_, missing);
  const std::uintmax_t before = missing ? 0 : size;

  std::string text;
  if (before == 0) text = csvRecord(journalHeader());
  for (const JournalLine& line : lines) text += csvRecord(journalFields(line));

  errno = 0;
  std::ofstream out(file_, std::ios::binary | std::ios::app);
  if (!out) return problem(file_, errno);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  const int error = errno;
  const bool written = static_cast<bool>(out);
  out.close();
  if (written && out) return {};
  // A line cut off by a full disk would run into the next one.
  std::filesystem::resize_file(file_, before, ignored);
  return problem(file_, error);
}

}  // namespace vs
