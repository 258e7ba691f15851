#include "journal/journal_line.h"

#include <array>

namespace vs {
namespace {

struct Column {
  const char* title;
  std::string JournalLine::*field;
};

const std::array<Column, 12> kColumns = {{
    {"Local Time", &JournalLine::time},
    {"Port", &JournalLine::port},
    {"Device ID", &JournalLine::deviceId},
    {"Serial Number", &JournalLine::serialNumber},
    {"Firmware", &JournalLine::firmware},
    {"Action", &JournalLine::action},
    {"Register", &JournalLine::reg},
    {"Name", &JournalLine::name},
    {"Before", &JournalLine::before},
    {"Written", &JournalLine::written},
    {"Outcome", &JournalLine::outcome},
    {"File", &JournalLine::file},
}};

}  // namespace

const std::vector<std::string>& journalHeader() {
  static const std::vector<std::string> header = [] {
    std::vector<std::string> titles;
    for (const Column& column : kColumns) titles.emplace_back(column.title);
    return titles;
  }();
  return header;
}

std::vector<std::string> journalFields(const JournalLine& line) {
  std::vector<std::string> fields;
  fields.reserve(kColumns.size());
  for (const Column& column : kColumns) fields.push_back(line.*column.field);
  return fields;
}

std::optional<JournalLine> journalLineOf(const std::vector<std::string>& fields) {
  if (fields.size() != kColumns.size()) return std::nullopt;
  JournalLine line;
  for (std::size_t i = 0; i < kColumns.size(); ++i) line.*kColumns[i].field = fields[i];
  return line;
}

}  // namespace vs
