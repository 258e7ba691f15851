#include "journal/csv_text.h"

namespace vs {
namespace {

bool needsQuotes(std::string_view field) {
  return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

std::string csvRecord(const std::vector<std::string>& fields) {
  std::string record;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) record += ',';
    const std::string& field = fields[i];
    if (!needsQuotes(field)) {
      record += field;
      continue;
    }
    record += '"';
    for (const char c : field) {
      if (c == '"') record += '"';
      record += c;
    }
    record += '"';
  }
  record += "\r\n";
  return record;
}

std::vector<std::vector<std::string>> parseCsv(std::string_view text) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false;
  // A line with nothing on it is no record, but a line holding one empty
  // quoted field is.
  bool started = false;
  const auto endRecord = [&] {
    if (started) {
      record.push_back(std::move(field));
      records.push_back(std::move(record));
    }
    record.clear();
    field.clear();
    started = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
      started = true;
    } else if (c == ',') {
      record.push_back(std::move(field));
      field.clear();
      started = true;
    } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (c == '\r') ++i;
      endRecord();
    } else {
      field += c;
      started = true;
    }
  }
  endRecord();
  return records;
}

}  // namespace vs
