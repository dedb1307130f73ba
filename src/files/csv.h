// Plain CSV, whatever the columns mean: splitting text into records (quoted fields, a
// leading BOM, "#" comment lines, LF or CRLF), writing fields and rows, and reading a file
// with the size limit of a channel list.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct CsvRecord {
  int line = 0;  // line on which the record starts
  std::vector<std::string> fields;
};
// Splits CSV text into records: quoted fields (with "" for a quote and line breaks inside),
// LF or CRLF, a leading BOM dropped, blank lines and lines starting with "#" skipped.
std::vector<CsvRecord> ParseCsv(std::string_view text, char separator = ',');
// A field as the dialect writes it: quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view value);

// A row as the dialect writes it: fields separated by commas, ended by CRLF.
std::string CsvRow(std::span<const std::string> fields);

// A CSV channel list is a few kilobytes; a file far larger is not one and is not read.
inline constexpr size_t kMaxCsvBytes = 4 * 1024 * 1024;
enum class CsvFileStatus { Ok, Unreadable, TooLarge };
struct CsvFile {
  CsvFileStatus status = CsvFileStatus::Unreadable;
  std::string text;  // the bytes as they are, when Ok
};
// The file an import reads (anything but an ordinary file is unreadable).
CsvFile ReadCsvFile(const std::string& path);

}  // namespace qm
