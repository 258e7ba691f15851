#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vs {

// Comma-separated values as RFC 4180 has them: a field holding a comma, a
// quote or a line break is quoted, its quotes doubled; records end in CRLF.

// The record's fields, each quoted where it must be, and the CRLF.
std::string csvRecord(const std::vector<std::string>& fields);

// Every record of the text, quoted fields included (their line breaks too).
// Records may end in CRLF or LF; a text cut off inside a quote still ends its
// last record. Empty lines are no records.
std::vector<std::vector<std::string>> parseCsv(std::string_view text);

}  // namespace vs
