#include "files/csv.h"

#include <algorithm>

#include "base/text_util.h"
#include "files/file_io.h"

namespace qm {

std::vector<CsvRecord> ParseCsv(std::string_view text, char separator) {
  std::vector<CsvRecord> out;
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const size_t n = text.size();
  size_t i = 0;
  int line = 1;
  auto atLineEnd = [&] { return i < n && (text[i] == '\r' || text[i] == '\n'); };
  auto eatLineEnd = [&] {
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') ++i;
    ++line;
  };
  while (i < n) {
    if (atLineEnd()) {
      eatLineEnd();
      continue;
    }
    if (text[i] == '#') {
      while (i < n && !atLineEnd()) ++i;
      eatLineEnd();
      continue;
    }
    CsvRecord rec;
    rec.line = line;
    for (;;) {
      std::string field;
      if (i < n && text[i] == '"') {
        ++i;
        while (i < n) {
          if (text[i] == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++line;
          field += text[i++];
        }
      }
      // Unquoted text (or what follows a closing quote) up to the separator.
      while (i < n && text[i] != separator && !atLineEnd()) field += text[i++];
      rec.fields.push_back(std::move(field));
      if (i < n && text[i] == separator) {
        ++i;
        continue;
      }
      if (i < n) eatLineEnd();
      break;
    }
    bool blank = std::all_of(rec.fields.begin(), rec.fields.end(),
                             [](const std::string& f) { return TrimSpaces(f).empty(); });
    if (!blank) out.push_back(std::move(rec));
  }
  return out;
}

std::string CsvField(std::string_view value) {
  if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvRow(std::span<const std::string> fields) {
  std::string out;
  for (size_t f = 0; f < fields.size(); ++f) {
    if (f) out += ',';
    out += CsvField(fields[f]);
  }
  return out + "\r\n";
}

CsvFile ReadCsvFile(const std::string& path) {
  const FileBytes f = ReadFileBytes(path, kMaxCsvBytes + 1);
  CsvFile out;
  if (f.status != ReadStatus::Ok) return out;
  if (f.bytes.size() > kMaxCsvBytes) {
    out.status = CsvFileStatus::TooLarge;
    return out;
  }
  out.status = CsvFileStatus::Ok;
  out.text.assign(f.bytes.begin(), f.bytes.end());
  return out;
}

}  // namespace qm
