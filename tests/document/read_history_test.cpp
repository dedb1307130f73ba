#include "document/read_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "files/data_file.h"
#include "files/utf8_path.h"
#include "support/fake_prompter.h"
#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

const std::tm kTime = [] {
  std::tm t{};
  std::tie(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) =
      std::tuple(126, 11, 8, 2, 5, 9);
  return t;
}();

Image WithRadioId(std::string_view id) {
  Image image;
  for (size_t k = 0; k < id.size() && k < 16; ++k) image.radioId()[k] = uint8_t(id[k]);
  image[0x20] = 0x5A;
  return image;
}

// Each read one file holding the image as read; off, none; a folder that cannot be made is
// said once and the reads go on.
TEST(ReadHistory, KeepsEachReadOnceAndSaysAFailureOnce) {
  test::ScratchDir dir;
  test::GbkCodec codec;
  ProfileFile ini{dir.file("QM830K.ini"), codec};
  test::FakePrompter prompter;
  ReadHistory history(ini, prompter);
  const Image image = WithRadioId("R 1/");  // named by its letters and digits
  const std::string first = history.Keep(image, kTime);
  const std::string second = history.Keep(image, kTime);  // the same second: both kept
  EXPECT_EQ(std::tuple(fs::path(first).filename().string(), fs::path(second).filename().string()),
            std::tuple("R_1__20261208-020509.q83", "R_1__20261208-020509-2.q83"));
  EXPECT_EQ(LoadDataFileFrom(first, Image{}, SpareBlock{}).image, image);

  SetReadHistoryEnabled(ini, false);
  EXPECT_EQ(history.Keep(image, kTime), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(PathFromUtf8(dir.file("history"))),
                          fs::directory_iterator()),
            2);

  test::ScratchDir blocked;
  ProfileFile blockedIni{blocked.file("QM830K.ini"), codec};
  test::WriteBytes(blocked.file("history"), std::string("a file where the folder would be"));
  ReadHistory failing(blockedIni, prompter);
  prompter.clear();
  EXPECT_EQ(std::tuple(failing.Keep(image, kTime), failing.Keep(image, kTime)), std::tuple("", ""));
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "读频记录");
}

TEST(ReadHistory, PruningRemovesTheOldestBeyondEitherLimit) {
  struct Case {
    size_t maxFiles;
    uintmax_t maxBytes;
    size_t removed;
  };
  const Case cases[] = {{10, 1000, 0}, {3, 1000, 2}, {10, 250, 3}};
  for (const Case& c : cases) {
    test::ScratchDir dir;
    const auto now = fs::file_time_type::clock::now();
    // Built piece by piece: GCC 12 warns falsely of an overlapping copy on "r" + ... + ".q83".
    const auto read = [&](int k) {
      std::string name = "r";
      name += std::to_string(k);
      name += ".q83";
      return dir.file(name);
    };
    for (int k = 0; k < 5; ++k) {
      const std::string path = read(k);
      test::WriteBytes(path, std::string(100, 'x'));
      fs::last_write_time(PathFromUtf8(path), now - std::chrono::hours(10 - k));
    }
    test::WriteBytes(dir.file("notes.txt"), std::string(1000, 'x'));  // not a read: stays
    EXPECT_EQ(PruneReadHistory(PathToUtf8(dir.path()), c.maxFiles, c.maxBytes), c.removed);
    // The newest stay.
    for (int k = 0; k < 5; ++k)
      EXPECT_EQ(fs::exists(PathFromUtf8(read(k))), k >= int(c.removed)) << k;
    EXPECT_TRUE(fs::exists(PathFromUtf8(dir.file("notes.txt"))));
  }
}

}  // namespace
}  // namespace qm
