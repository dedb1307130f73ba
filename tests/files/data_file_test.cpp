#include "files/data_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <functional>
#include <random>
#include <tuple>

#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

// The file layout written out independently of the code under test.
struct ValueLayout {
  size_t offset;
  size_t size;
  uint16_t tag;
  int dims;         // 0 for the texts
  uint32_t count0;  // first dimension (rows), or the text length
  uint32_t count1;  // second dimension
  int source;       // 0 image, 1 spare block, -1 text
  uint16_t start;   // image address or spare offset
};

constexpr ValueLayout kLayout[] = {
    {0, 22, 0x0008, 0, 18, 0, -1, 0},         {22, 14, 0x0008, 0, 10, 0, -1, 0},
    {36, 276, 0x2011, 2, 16, 16, 0, 0x000},   {312, 100, 0x2011, 2, 5, 16, 1, 0},
    {412, 196, 0x2011, 2, 11, 16, 0, 0x100},  {608, 100, 0x2011, 2, 5, 16, 0, 0x1B0},
    {708, 196, 0x2011, 2, 11, 16, 0, 0x200},  {904, 28, 0x2011, 1, 16, 0, 0, 0x2B0},
    {932, 28, 0x2011, 1, 16, 0, 0, 0x2C0},    {960, 28, 0x2011, 1, 16, 0, 0, 0x2D0},
    {988, 28, 0x2011, 1, 16, 0, 0, 0x2E0},    {1016, 28, 0x2011, 1, 16, 0, 0, 0x2F0},
    {1044, 204, 0x2011, 1, 192, 0, 0, 0x300}, {1248, 28, 0x2011, 1, 16, 0, 0, 0x3C0},
    {1276, 28, 0x2011, 1, 16, 0, 0, 0x3D0},   {1304, 28, 0x2011, 1, 16, 0, 0, 0x3E0},
    {1332, 28, 0x2011, 1, 16, 0, 0, 0x3F0},
};

// The header and version texts in GBK: "QM830K PC编程软件." and "版本 = 2.0" or "1.1".
const std::string kHeaderGbk = "QM830K PC\xb1\xe0\xb3\xcc\xc8\xed\xbc\xfe.";
const std::string kV20Gbk = "\xb0\xe6\xb1\xbe = 2.0", kV11Gbk = "\xb0\xe6\xb1\xbe = 1.1";

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  for (size_t i = 0; i < 2; ++i) b[at + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

Image PatternImage(uint8_t seed) {
  Image image;
  for (size_t a = 0; a < kImageSize; ++a)
    image[a] = static_cast<uint8_t>((a * 31 + seed * 17 + (a >> 4)) & 0xFF);
  return image;
}

SpareBlock PatternSpare(uint8_t seed) {
  SpareBlock s{};
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<uint8_t>(seed + 3 * i);
  return s;
}

// Where element (r, b) of a value's data lies in the file.
size_t DataOffset(const ValueLayout& v, size_t r, size_t b) {
  return v.dims == 2 ? v.offset + 20 + r + v.count0 * b : v.offset + 12 + r;
}

TEST(DataFileLayout, EveryValueStandsWhereTheTableSays) {
  const Image image = PatternImage(1);
  const SpareBlock spare = PatternSpare(9);
  const std::vector<uint8_t> file = SerializeDataFile(image, spare, false);
  ASSERT_EQ(file.size(), kDataFileSize);

  size_t expectedOffset = 0;
  for (const ValueLayout& v : kLayout) {
    SCOPED_TRACE("value at offset " + std::to_string(v.offset));
    EXPECT_EQ(v.offset, expectedOffset);  // nothing between the values
    expectedOffset += v.size;
    EXPECT_EQ(U16(file, v.offset), v.tag);
    if (v.dims == 0) {
      EXPECT_EQ(U16(file, v.offset + 2), v.count0);
      continue;
    }
    EXPECT_EQ(U16(file, v.offset + 2), v.dims);
    EXPECT_EQ(U32(file, v.offset + 4), v.count0);
    EXPECT_EQ(U32(file, v.offset + 8), 0u);  // lower bound
    if (v.dims == 2) {
      EXPECT_EQ(U32(file, v.offset + 12), v.count1);
      EXPECT_EQ(U32(file, v.offset + 16), 0u);
      for (size_t r = 0; r < v.count0; ++r)
        for (size_t b = 0; b < 16; ++b) {
          uint8_t want = v.source == 1 ? spare[v.start + 16 * r + b] : image[v.start + 16 * r + b];
          ASSERT_EQ(file[DataOffset(v, r, b)], want) << "row " << r << " byte " << b;
        }
    } else {
      for (size_t k = 0; k < v.count0; ++k)
        ASSERT_EQ(file[DataOffset(v, k, 0)], image[v.start + k]);
    }
  }
  EXPECT_EQ(expectedOffset, kDataFileSize);
  EXPECT_EQ(std::string(file.begin() + 4, file.begin() + 22), kHeaderGbk);
  EXPECT_EQ(std::string(file.begin() + 26, file.begin() + 36), kV20Gbk);
}

TEST(DataFileLayout, LegacyFileDiffersOnlyInVersionTextAndFunctionByte0) {
  Image image = PatternImage(2);
  image.functions()[0] = 0x55;
  const SpareBlock spare = PatternSpare(4);
  const std::vector<uint8_t> current = SerializeDataFile(image, spare, false);
  const std::vector<uint8_t> legacy = SerializeDataFile(image, spare, true);
  ASSERT_EQ(legacy.size(), kDataFileSize);
  EXPECT_EQ(std::string(legacy.begin() + 26, legacy.begin() + 36), kV11Gbk);
  for (size_t i = 0; i < kDataFileSize; ++i) {
    if (i >= 26 && i < 36) continue;
    if (i == 916) {
      EXPECT_EQ(current[i], 0x55);
      EXPECT_EQ(legacy[i], 0xA5);  // stored in the version-1 layout
      continue;
    }
    ASSERT_EQ(current[i], legacy[i]) << "offset " << i;
  }
  EXPECT_EQ(image.functions()[0], 0x55) << "the image keeps the current layout";
}

TEST(DataFileLayout, LegacyNameIsExactlyDotZ410AtTheEnd) {
  struct Case {
    const char* path;
    bool legacy;
  } cases[] = {
      {"/data/job.z410", true},  {"job.z410", true},   {".z410", true},
      {"/data/job.Z410", false}, {"job.z410 ", false}, {"job.z4100", false},
      {"job.q83", false},        {"z410", false},      {"", false},
      {"/d/工作.z410", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLegacyName(c.path), c.legacy) << c.path;
}

TEST(DataFileRoundTrip, FileToImageToFileIsByteIdentical) {
  // Any data in a well-formed file comes back out unchanged, in both formats; bytes after
  // the last value are ignored, the bound pairs of a block of rows may come with the 16 bytes
  // of a row first (the data still has the row index varying fastest), and a file cut
  // anywhere is refused.
  std::mt19937 rng(410);
  for (bool legacy : {false, true}) {
    std::vector<uint8_t> file = SerializeDataFile(Image{}, SpareBlock{}, legacy);
    for (const ValueLayout& v : kLayout) {
      if (v.dims == 0) continue;
      size_t header = v.dims == 2 ? 20 : 12;
      for (size_t i = v.offset + header; i < v.offset + v.size; ++i)
        file[i] = static_cast<uint8_t>(rng());
    }
    if (legacy) file[916] &= 0xF7;  // bit 3 of a legacy byte cannot survive a load
    std::vector<uint8_t> longer = file;
    longer.insert(longer.end(), 500, 0xEE);
    for (bool rowFirst : {false, true}) {
      if (rowFirst)
        for (const ValueLayout& v : kLayout)
          if (v.dims == 2)
            PutU32(longer, v.offset + 4, v.count1), PutU32(longer, v.offset + 12, v.count0);
      LoadedFile f = ParseDataFile(longer, PatternImage(5), PatternSpare(5));
      ASSERT_EQ(f.status, LoadStatus::Ok);
      EXPECT_EQ(f.imageVerMajor, legacy ? 0 : 2);
      EXPECT_EQ(SerializeDataFile(f.image, f.spare, legacy), file) << legacy << rowFirst;
    }
    for (size_t cut = 0; cut < file.size(); ++cut) {  // every truncation is refused
      EXPECT_EQ(ParseDataFile(std::span(file.data(), cut), Image{}, SpareBlock{}).status,
                LoadStatus::Damaged)
          << "cut at " << cut;
    }
  }
}

using Damage = std::function<void(std::vector<uint8_t>&)>;
Damage U16At(size_t at, uint16_t v) {
  return [=](std::vector<uint8_t>& b) { PutU16(b, at, v); };
}
Damage U32At(size_t at, uint32_t v) {
  return [=](std::vector<uint8_t>& b) { PutU32(b, at, v); };
}

TEST(DataFileLoad, DamageAnywhereRefusesTheWholeFile) {
  struct Case {
    const char* what;
    Damage damage;
    LoadStatus status;
  };
  const std::vector<Case> cases = {
      {"other header text", [](auto& b) { b[5] = 'X'; }, LoadStatus::NotDataFile},
      {"header not a text", U16At(0, 0x0002), LoadStatus::NotDataFile},
      {"header length differs", U16At(2, 17), LoadStatus::NotDataFile},
      {"other version text", [](auto& b) { b[35] = '1'; }, LoadStatus::NewerVersion},
      {"version not a text", U16At(22, 0x0003), LoadStatus::Damaged},
      {"version length past the end", U16At(24, 0xFFFF), LoadStatus::Damaged},
      {"array of an element type without a known size", U16At(960, 0x200C), LoadStatus::Damaged},
      {"not an array where a block belongs", U16At(960, 0x0011), LoadStatus::Damaged},
      {"16-bit elements running past the end", U16At(1332, 0x2002), LoadStatus::Damaged},
      {"text where a block belongs", U16At(412, 0x0008), LoadStatus::Damaged},
      {"undecodable tag in the last block", U16At(1332, 0xFFFF), LoadStatus::Damaged},
      {"absurd dimension count", U16At(36 + 2, 0xFFFF), LoadStatus::Damaged},
      {"61 dimensions", U16At(608 + 2, 61), LoadStatus::Damaged},
      {"element count past the end", U32At(1332 + 4, 17), LoadStatus::Damaged},
      {"huge element count", U32At(1044 + 4, 0xFFFFFFFF), LoadStatus::Damaged},
      {"counts whose product overflows",
       [](auto& b) { PutU32(b, 36 + 4, 0x10000), PutU32(b, 36 + 12, 0x10000); },
       LoadStatus::Damaged},
      {"first dimension past the end", U32At(708 + 4, 0x7FFFFFFF), LoadStatus::Damaged},
      {"garbage",
       [](auto& b) {
         for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 13 + 1);
       },
       LoadStatus::NotDataFile},
      {"short garbage",
       [](auto& b) {
         b.assign({0x89, 'P', 'N', 'G'});
       },
       LoadStatus::NotDataFile},
  };
  const std::vector<uint8_t> good = SerializeDataFile(PatternImage(1), PatternSpare(1), false);
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> file = good;
    c.damage(file);
    EXPECT_EQ(ParseDataFile(file, PatternImage(2), SpareBlock{}).status, c.status);
    std::string path = dir.file("damaged.q83");
    WriteBytes(path, file);
    EXPECT_EQ(LoadDataFileFrom(path, PatternImage(2), SpareBlock{}).status, c.status);
  }
}

// Builds a file whose value at `index` (into kLayout) is replaced by `value`.
std::vector<uint8_t> WithValue(const std::vector<uint8_t>& file, size_t index,
                               const std::vector<uint8_t>& value) {
  const ValueLayout& v = kLayout[index];
  std::vector<uint8_t> out(file.begin(), file.begin() + static_cast<long>(v.offset));
  out.insert(out.end(), value.begin(), value.end());
  out.insert(out.end(), file.begin() + static_cast<long>(v.offset + v.size), file.end());
  return out;
}

// An array value; `elementBytes` per element (texts: a 2-byte length and that many bytes).
std::vector<uint8_t> Array(uint16_t tag, std::vector<std::pair<uint32_t, int32_t>> bounds,
                           std::vector<uint8_t> elementBytes) {
  std::vector<uint8_t> out(4 + 8 * bounds.size());
  PutU16(out, 0, tag);
  PutU16(out, 2, static_cast<uint16_t>(bounds.size()));
  size_t elements = bounds.empty() ? 0 : 1;
  for (size_t i = 0; i < bounds.size(); ++i) {
    PutU32(out, 4 + 8 * i, bounds[i].first);
    PutU32(out, 8 + 8 * i, static_cast<uint32_t>(bounds[i].second));
    elements *= bounds[i].first;
  }
  for (size_t e = 0; e < elements; ++e)
    out.insert(out.end(), elementBytes.begin(), elementBytes.end());
  return out;
}

std::vector<uint8_t> ByteArray(std::vector<std::pair<uint32_t, int32_t>> bounds, uint8_t fill) {
  return Array(0x2011, std::move(bounds), {fill});
}

TEST(DataFileLoad, ValueOfTheWrongShapeKeepsTheBlock) {
  const Image fileImage = PatternImage(1);
  const Image current = PatternImage(2);
  const std::vector<uint8_t> good = SerializeDataFile(fileImage, PatternSpare(1), false);
  struct Case {
    const char* what;
    size_t index;  // into kLayout
    std::vector<uint8_t> value;
    uint16_t start;  // the image bytes kept
    size_t size;
    bool spareKept = false;
  };
  const std::vector<Case> cases = {
      {"tune table 10 x 16", 4, ByteArray({{10, 0}, {16, 0}}, 0xEE), 0x100, 176},
      {"tune table 16 x 10, bounds of a row first", 4, ByteArray({{16, 0}, {10, 0}}, 0xEE), 0x100,
       176},
      {"tune table lower bound 1", 4, ByteArray({{11, 1}, {16, 0}}, 0xEE), 0x100, 176},
      {"tune table one-dimensional", 4, ByteArray({{176, 0}}, 0xEE), 0x100, 176},
      {"ident block two-dimensional", 9, ByteArray({{16, 0}, {1, 0}}, 0xEE), 0x2D0, 16},
      {"ident block 15 bytes", 9, ByteArray({{15, 0}}, 0xEE), 0x2D0, 16},
      {"ident block three dimensions", 9, ByteArray({{2, 0}, {2, 0}, {4, 0}}, 0xEE), 0x2D0, 16},
      {"ident block no dimensions", 9, ByteArray({}, 0xEE), 0x2D0, 16},
      {"embedded text 0 to 190", 12, ByteArray({{191, 0}}, 0xEE), 0x300, 192},
      // Arrays of other element types are stepped over; the values after them still load.
      {"tune table of 16-bit integers", 4, Array(0x2002, {{11, 0}, {16, 0}}, {1, 2}), 0x100, 176},
      {"tune table of doubles", 4, Array(0x2005, {{11, 0}, {16, 0}}, {1, 2, 3, 4, 5, 6, 7, 8}),
       0x100, 176},
      {"ident block of 32-bit integers", 9, Array(0x2003, {{16, 0}}, {1, 2, 3, 4}), 0x2D0, 16},
      {"ident block of booleans", 9, Array(0x200B, {{16, 0}}, {0xFF, 0xFF}), 0x2D0, 16},
      {"ident block of texts", 9, Array(0x2008, {{16, 0}}, {3, 0, 'a', 'b', 'c'}), 0x2D0, 16},
      {"last block of empty texts", 16, Array(0x2008, {{16, 0}}, {0, 0}), 0x3F0, 16},
      {"spare block 4 x 16", 3, ByteArray({{4, 0}, {16, 0}}, 0), 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadedFile f = ParseDataFile(WithValue(good, c.index, c.value), current, PatternSpare(2));
    ASSERT_EQ(f.status, LoadStatus::Ok);
    for (size_t a = 0; a < kImageSize; ++a) {
      bool kept = a >= c.start && a < c.start + c.size;
      ASSERT_EQ(f.image[a], kept ? current[a] : fileImage[a]) << "address " << a;
    }
    EXPECT_EQ(f.spare, PatternSpare(c.spareKept ? 2 : 1));
  }
}

TEST(DataFileLoad, KeptFunctionBlockIsNotConvertedFromTheLegacyLayout) {
  // The kept byte is already in the current layout; converting it would corrupt it.
  Image current = PatternImage(2);
  current.functions()[0] = 0x55;
  const std::vector<uint8_t> legacy = SerializeDataFile(PatternImage(1), SpareBlock{}, true);
  LoadedFile f = ParseDataFile(WithValue(legacy, 7, ByteArray({{8, 0}}, 0)), current, SpareBlock{});
  ASSERT_EQ(f.status, LoadStatus::Ok);
  EXPECT_EQ(f.imageVerMajor, 0);
  EXPECT_EQ(f.image.functions()[0], 0x55);
}

LoadStatus LoadedStatus(const std::string& path) {
  return LoadDataFileFrom(path, Image{}, SpareBlock{}).status;
}

TEST(DataFileLoadFrom, FilesThatDoNotCountAsThereOrCannotBeRead) {
  ScratchDir dir;
  const std::vector<uint8_t> good = SerializeDataFile(PatternImage(1), SpareBlock{}, false);
  WriteBytes(dir.file(".hidden.q83"), good);
  std::filesystem::create_directory(dir.file("folder.q83"));
#ifndef _WIN32
  ASSERT_EQ(mkfifo(dir.file("pipe.q83").c_str(), 0600), 0);
#endif
  for (const char* name : {"missing.q83", ".hidden.q83", "folder.q83", "pipe.q83"})
    EXPECT_EQ(LoadedStatus(dir.file(name)), LoadStatus::NotFound) << name;
  EXPECT_EQ(LoadedStatus(""), LoadStatus::NotFound);

  WriteBytes(dir.file("good.q83"), good);
  LoadedFile f = LoadDataFileFrom(dir.file("good.q83"), Image{}, SpareBlock{});
  EXPECT_EQ(std::tuple(f.status, f.image == PatternImage(1)), std::tuple(LoadStatus::Ok, true));
  WriteBytes(dir.file("empty.q83"), std::string());
  EXPECT_EQ(LoadedStatus(dir.file("empty.q83")), LoadStatus::Damaged);
  // An ordinary file whose reading fails, whoever runs the test.
  if (std::filesystem::is_regular_file("/proc/self/mem")) {
    EXPECT_EQ(LoadedStatus("/proc/self/mem"), LoadStatus::Damaged);
  }
}

}  // namespace
}  // namespace qm
