#include "files/recent_files.h"

#include <gtest/gtest.h>

#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::ScratchDir;
using test::WriteBytes;

// A key's stored state: its value, "" for an empty value, or kMissing.
constexpr const char* kMissing = "<missing>";
using Keys = std::array<std::string, kRecentFileCount>;

std::string IniText(const Keys& keys) {
  std::string out = "[Comm Port]\nCommon Port=2\n[Recent Files]\n";
  for (int n = 0; n < kRecentFileCount; ++n)
    if (keys[n] != kMissing) out += "RecentFile" + std::to_string(n + 1) + "=" + keys[n] + "\n";
  return out;
}

Keys Stored(const ProfileFile& ini) {
  Keys out;
  for (int n = 0; n < kRecentFileCount; ++n)
    out[n] = ini.read("Recent Files", "RecentFile" + std::to_string(n + 1), kMissing);
  return out;
}

class RecentFilesTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
  test::GbkCodec codec_;
  ProfileFile ini_{dir_.file("QM830K.ini"), codec_};
};

// The four keys from a short text: entries split at "|", "-" for a missing key.
Keys K(const std::string& text) {
  Keys out;
  size_t from = 0;
  for (auto& key : out) {
    const size_t bar = std::min(text.find('|', from), text.size());
    key = text.substr(from, bar - from);
    if (key == "-") key = kMissing;
    from = bar + 1;
  }
  return out;
}

TEST_F(RecentFilesTest, AddAndRemoveMoveTheEntriesAsTheMenuExpects) {
  struct Case {
    const char* what;
    const char* before;
    bool add;  // false: remove
    std::string path;
    const char* after;
  };
  const std::vector<Case> cases = {
      {"empty list, add A", "-|-|-|-", true, "A", "A|-|-|-"},
      {"add to a full list drops the last", "A|B|C|D", true, "E", "E|A|B|C"},
      {"add an entry already listed", "A|B|C|D", true, "C", "C|A|B|D"},
      {"letter case does not matter", "/d/A.q83|/d/B.q83|/d/C.q83|/d/D.q83", true, "/D/b.Q83",
       "/D/b.Q83|/d/A.q83|/d/C.q83|/d/D.q83"},
      {"Greek and Cyrillic letters ignore case", "/d/ΣΤΑΘΜΟΣ.q83|/d/Рация.q83|/d/工作.q83|-", false,
       "/d/РАЦИЯ.Q83", "/d/ΣΤΑΘΜΟΣ.q83|/d/工作.q83||"},
      {"different Chinese names do not match", "/d/工作.q83|-|-|-", false, "/d/工程.q83",
       "/d/工作.q83|-|-|-"},
      {"the last match counts when adding", "X|A|B|A", true, "A", "A|X|A|B"},
      {"No File and empty entries are not moved", "A|No File||-", true, "B", "B|A||-"},
      {"remove from the middle", "A|B|C|D", false, "B", "A|C|D|"},
      {"remove the last of two", "A|B|-|-", false, "B", "A|||"},
      {"remove the only one", "A|-|-|-", false, "a", "|||"},
      {"remove something not listed", "A|B|-|-", false, "C", "A|B|-|-"},
      {"a stored path that goes on matches", "/d/a.q83.bak|B|-|-", false, "/d/a.q83", "B|||"},
      {"the path is trimmed but its length counts", "A|B|BX|-", false, " B", "A|BX||"},
      {"a trimmed path does not match a longer entry", "A|BX|-|-", false, "B ", "A|BX|-|-"},
      {"an empty path changes nothing", "A|B|C|D", true, "  ", "A|B|C|D"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(ini_.path(), IniText(K(c.before)));
    if (c.add)
      AddRecentFile(ini_, c.path);
    else
      RemoveRecentFile(ini_, c.path);
    EXPECT_EQ(Stored(ini_), K(c.after));
    EXPECT_EQ(ini_.read("Comm Port", "Common Port", ""), "2") << "other sections stay";
  }
}

TEST_F(RecentFilesTest, EntriesAndMenuCaptions) {
  // No file is an empty list; a removal does not create it, an addition does.
  for (const auto& c : RecentMenuCaptions(ini_)) EXPECT_EQ(c, std::nullopt);
  RemoveRecentFile(ini_, "A");
  EXPECT_FALSE(std::filesystem::exists(ini_.path()));
  AddRecentFile(ini_, "/d/a.q83");
  EXPECT_EQ(RecentMenuCaptions(ini_)[0], " 1 /d/a.q83");

  WriteBytes(ini_.path(), IniText(K("/d/a.q83|No File||/d/工作.z410")));
  EXPECT_EQ(ReadRecentEntry(ini_, 1), "/d/a.q83");
  for (int n : {0, 2, 3, 5}) EXPECT_EQ(ReadRecentEntry(ini_, n), std::nullopt) << n;
  auto captions = RecentMenuCaptions(ini_);
  using Caption = std::optional<std::string>;
  EXPECT_EQ(std::vector<Caption>(captions.begin(), captions.end()),
            (std::vector<Caption>{" 1 /d/a.q83", std::nullopt, std::nullopt, " 4 /d/工作.z410"}));
  EXPECT_EQ(PathFromRecentCaption(*captions[3]), "/d/工作.z410");
  EXPECT_EQ(PathFromRecentCaption(" 1"), "");
}

}  // namespace
}  // namespace qm
