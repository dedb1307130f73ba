#include "document/read_history.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <tuple>
#include <vector>

#include "base/tr.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "files/utf8_path.h"
#include "radio/write_checks.h"

namespace qm {

namespace fs = std::filesystem;

std::string ReadHistoryDir(const std::string& iniPath) {
  return PathToUtf8(PathFromUtf8(iniPath).parent_path() / "history");
}

bool ReadHistoryEnabled(const ProfileFile& ini) {
  return ini.read(kReadHistorySection, kReadHistoryKey, "1") != "0";
}

void SetReadHistoryEnabled(const ProfileFile& ini, bool on) {
  ini.write(kReadHistorySection, kReadHistoryKey, on ? "1" : "0");
}

std::string ReadHistoryFileName(const Image& image, const std::tm& now) {
  // Named as a backup before a write is, so the two kinds of copy sort and read alike.
  return BackupFileName(PrintableRadioId(image.radioId()), now, "radio");
}

size_t PruneReadHistory(const std::string& dir, size_t maxFiles, uintmax_t maxBytes) {
  struct Kept {
    fs::file_time_type time;
    fs::path path;
    uintmax_t size;
  };
  std::vector<Kept> files;
  std::error_code ec;
  for (fs::directory_iterator it(PathFromUtf8(dir), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc) || it->path().extension() != ".q83") continue;
    const auto time = it->last_write_time(fileEc);
    const auto size = it->file_size(fileEc);
    if (!fileEc) files.push_back({time, it->path(), size});
  }
  std::sort(files.begin(), files.end(), [](const Kept& a, const Kept& b) {
    return std::tie(a.time, a.path) < std::tie(b.time, b.path);
  });
  uintmax_t total = 0;
  for (const Kept& k : files) total += k.size;
  size_t removed = 0, count = files.size();
  for (const Kept& k : files) {
    if (count <= maxFiles && total <= maxBytes) break;
    std::error_code rmEc;
    if (fs::remove(k.path, rmEc)) ++removed;
    --count;
    total -= k.size;
  }
  return removed;
}

std::string ReadHistory::Keep(const Image& image, const std::tm& now) {
  if (!ReadHistoryEnabled(ini_)) return {};
  const std::string dir = ReadHistoryDir(ini_.path());
  std::error_code ec;
  fs::create_directories(PathFromUtf8(dir), ec);
  const std::string name = ReadHistoryFileName(image, now);
  fs::path path = PathFromUtf8(dir) / PathFromUtf8(name);
  // Two reads within one second keep both.
  for (int k = 2; fs::exists(path, ec) && k < 1000; ++k)
    path = PathFromUtf8(dir) /
           PathFromUtf8(name.substr(0, name.size() - 4) + "-" + std::to_string(k) + ".q83");
  const std::vector<uint8_t> bytes = SerializeDataFile(image, SpareBlock{}, false);
  if (!WriteFileAtomically(PathToUtf8(path), bytes)) {
    // The read itself is sound and shown; only its copy is missing. Said once, not at
    // every read of a day's work.
    if (!reported_) {
      reported_ = true;
      Notify(prompter_, QM_TR("读频记录"),
             Fill(QM_TR("读频记录无法保存到 %1。读频数据不受影响，以后不再提示。"), {dir}),
             Icon::Exclamation);
    }
    return {};
  }
  PruneReadHistory(dir);
  return PathToUtf8(path);
}

}  // namespace qm
