#include "files/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/data_file.h"
#include "files/utf8_path.h"
#include "support/scratch_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

std::vector<uint8_t> FileBytesOf(uint8_t seed) {
  Image image;
  for (size_t a = 0; a < kImageSize; ++a) image[a] = static_cast<uint8_t>(a + seed);
  return SerializeDataFile(image, SpareBlock{}, false);
}

std::string AsText(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

// Files in the folder besides the ones named: a save must leave no temporary behind.
std::vector<std::string> Leftovers(const ScratchDir& dir, std::vector<std::string> expected) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    std::string name = PathToUtf8(e.path().filename());
    if (std::find(expected.begin(), expected.end(), name) == expected.end()) out.push_back(name);
  }
  return out;
}

// A new file, one over a longer old file (no stale tail) and one with a Chinese name over an
// old file hold exactly the bytes, and load back under that name.
TEST(AtomicSave, NewOrReplacedFileHoldsExactlyTheBytes) {
  for (const auto& [name, oldSize] : {std::pair{"a.q83", size_t{0}},
                                      {"a.q83", size_t{3000}},
                                      {"对讲机 数据（一）.q83", kDataFileSize}}) {
    ScratchDir dir;
    if (oldSize) WriteBytes(dir.file(name), std::string(oldSize, 'x'));
    const auto bytes = FileBytesOf(1);
    ASSERT_TRUE(WriteFileAtomically(dir.file(name), bytes));
    EXPECT_EQ(ReadBytes(dir.file(name)), AsText(bytes)) << name << oldSize;
    EXPECT_TRUE(Leftovers(dir, {name}).empty());  // the UTF-8 name, not a mangled one
    const LoadedFile back = LoadDataFileFrom(dir.file(name), Image{}, SpareBlock{});
    EXPECT_EQ(std::tuple(back.status, SerializeDataFile(back.image, back.spare, false)),
              std::tuple(LoadStatus::Ok, bytes));
  }
}

#ifndef _WIN32
// What the old file was stays so: its permissions, its owner and group (only an administrator
// can give a file to another owner), and a symbolic link stays a link. Windows keeps only a
// read-only flag, which ReadOnlyFileIsRefusedAndKept covers.
TEST(AtomicSave, PermissionsOwnerAndLinkOfTheOldFileAreKept) {
  ScratchDir dir;
  const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  WriteBytes(dir.file("real.q83"), std::string("old"));
  fs::permissions(dir.file("real.q83"), perms);
  const bool root = ::geteuid() == 0;
  ASSERT_TRUE(!root || ::chown(dir.file("real.q83").c_str(), 1, 2) == 0);
  fs::create_symlink("real.q83", dir.file("link.q83"));
  const auto bytes = FileBytesOf(4);
  ASSERT_TRUE(WriteFileAtomically(dir.file("link.q83"), bytes));
  EXPECT_TRUE(fs::is_symlink(dir.file("link.q83")));
  EXPECT_EQ(ReadBytes(dir.file("real.q83")), AsText(bytes));
  EXPECT_EQ(fs::status(dir.file("real.q83")).permissions() & fs::perms::all, perms);
  struct stat info {};
  ASSERT_EQ(::stat(dir.file("real.q83").c_str(), &info), 0);
  EXPECT_TRUE(!root || (info.st_uid == 1u && info.st_gid == 2u)) << info.st_uid << info.st_gid;
}
#endif

TEST(AtomicSave, TargetsThatCannotBeWrittenFailWithoutHarm) {
  ScratchDir dir;
  fs::create_directory(dir.file("folder.q83"));
  WriteBytes(dir.file("folder.q83/inside"), std::string("keep"));
  EXPECT_FALSE(WriteFileAtomically(dir.file("folder.q83"), FileBytesOf(5)));
  EXPECT_TRUE(fs::is_directory(dir.file("folder.q83")));
  EXPECT_EQ(ReadBytes(dir.file("folder.q83/inside")), "keep");

  EXPECT_FALSE(WriteFileAtomically(dir.file("no/such/folder.q83"), FileBytesOf(5)));
  EXPECT_FALSE(WriteFileAtomically("", FileBytesOf(5)));
  // A folder in which nobody, not even an administrator, can create files.
  if (fs::is_directory("/proc/self/fd")) {
    EXPECT_FALSE(WriteFileAtomically("/proc/self/x.q83", {}));
  }
  EXPECT_TRUE(Leftovers(dir, {"folder.q83"}).empty());
}

#ifndef _WIN32
// Makes every write beyond `limit` bytes fail (as on a full disk), for this process only.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old_;
    lim.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(AtomicSave, FailedWriteLeavesTheOldFile) {
  ScratchDir dir;
  const std::string old = AsText(FileBytesOf(6));
  WriteBytes(dir.file("job.q83"), old);
  bool ok;
  {
    FileSizeLimit limit(100);
    ok = WriteFileAtomically(dir.file("job.q83"), FileBytesOf(7));
  }
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadBytes(dir.file("job.q83")), old);
  EXPECT_TRUE(Leftovers(dir, {"job.q83"}).empty());
}

#endif

TEST(AtomicSave, ReadOnlyFileIsRefusedAndKept) {
  // Read-only for everyone, and for its owner only: neither is replaced, whoever saves.
  for (fs::perms perms : {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                          fs::perms::owner_read}) {
    ScratchDir dir;
    const std::string old = AsText(FileBytesOf(11));
    WriteBytes(dir.file("ro.q83"), old);
    fs::permissions(dir.file("ro.q83"), perms);
    const fs::perms before = fs::status(dir.file("ro.q83")).permissions();
    EXPECT_FALSE(WriteFileAtomically(dir.file("ro.q83"), FileBytesOf(12)));
    EXPECT_EQ(ReadBytes(dir.file("ro.q83")), old);
    EXPECT_EQ(fs::status(dir.file("ro.q83")).permissions(), before);
    EXPECT_TRUE(Leftovers(dir, {"ro.q83"}).empty());
    fs::permissions(dir.file("ro.q83"), fs::perms::owner_all);
  }
}

TEST(ReadFile, KindsOfPath) {
  ScratchDir dir;
  WriteBytes(dir.file("f"), std::string("abcdef"));
  fs::create_directory(dir.file("d"));
  EXPECT_EQ(ReadFileBytes(dir.file("missing"), 10).status, ReadStatus::Missing);
  EXPECT_EQ(ReadFileBytes(dir.file("d"), 10).status, ReadStatus::NotRegular);
  FileBytes f = ReadFileBytes(dir.file("f"), 4);
  EXPECT_EQ(f.status, ReadStatus::Ok);
  EXPECT_EQ(std::string(f.bytes.begin(), f.bytes.end()), "abcd");
  EXPECT_EQ(ReadFileBytes(dir.file("f"), 100).bytes.size(), 6u);
}

}  // namespace
}  // namespace qm
