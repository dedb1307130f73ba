#include "files/recent_files.h"

#include "base/text_util.h"

namespace qm {

namespace {

constexpr std::string_view kSection = "Recent Files";
constexpr std::string_view kNoFile = "No File";

std::string KeyName(int n) { return "RecentFile" + std::to_string(n); }

// An entry matches `path` when its first Len(path) characters equal the trimmed path,
// letter case aside; a stored path that begins with `path` and goes on matches too.
bool Matches(const std::string& entry, const std::string& path) {
  std::string head = Utf8Left(entry, Utf8Length(path));
  return FoldCase(head) == FoldCase(TrimSpaces(path));
}

// An empty path would match every entry; nothing sensible can be added or removed with it.
bool Usable(const std::string& path) { return !TrimSpaces(path).empty(); }

}  // namespace

std::optional<std::string> ReadRecentEntry(const ProfileFile& ini, int n) {
  if (n < 1 || n > kRecentFileCount) return std::nullopt;
  std::string v = ini.read(kSection, KeyName(n), kNoFile);
  if (v.empty() || v == kNoFile) return std::nullopt;
  return v;
}

void AddRecentFile(const ProfileFile& ini, const std::string& path) {
  if (!Usable(path)) return;
  int k = 0;
  for (int n = kRecentFileCount; n >= 1; --n) {
    auto e = ReadRecentEntry(ini, n);
    if (e && Matches(*e, path)) {
      k = n;
      break;
    }
  }
  if (k == 1) return;
  // Entries above the old position move down by one and overwrite it; without a match
  // the last entry falls off.
  int from = k >= 2 ? k - 1 : kRecentFileCount - 1;
  for (int n = from; n >= 1; --n) {
    if (auto e = ReadRecentEntry(ini, n)) ini.write(kSection, KeyName(n + 1), *e);
  }
  ini.write(kSection, KeyName(1), path);
}

void RemoveRecentFile(const ProfileFile& ini, const std::string& path) {
  if (!Usable(path)) return;
  int k = 0;
  for (int n = 1; n <= kRecentFileCount; ++n) {
    auto e = ReadRecentEntry(ini, n);
    if (e && Matches(*e, path)) {
      k = n;
      break;
    }
  }
  if (k == 0) return;
  int m = k + 1;
  for (; m <= kRecentFileCount; ++m) {
    auto e = ReadRecentEntry(ini, m);
    if (!e) break;
    ini.write(kSection, KeyName(m - 1), *e);
  }
  // m is the first empty entry, or one past the last: everything from m - 1 on is cleared.
  for (int n = m - 1; n <= kRecentFileCount; ++n) ini.write(kSection, KeyName(n), "");
}

std::array<std::optional<std::string>, kRecentFileCount> RecentMenuCaptions(
    const ProfileFile& ini) {
  std::array<std::optional<std::string>, kRecentFileCount> out;
  for (int n = 1; n <= kRecentFileCount; ++n) {
    if (auto e = ReadRecentEntry(ini, n)) {
      std::string caption(1, ' ');
      caption.append(std::to_string(n)).append(1, ' ').append(*e);
      out[static_cast<size_t>(n - 1)] = std::move(caption);
    }
  }
  return out;
}

std::string PathFromRecentCaption(const std::string& caption) {
  return caption.size() > 3 ? caption.substr(3) : std::string();
}

}  // namespace qm
