#include "files/data_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

#include "files/file_io.h"
#include "files/utf8_path.h"

namespace qm {

namespace {

constexpr uint16_t kTagText = 0x0008;
constexpr uint16_t kTagByteArray = 0x2011;
// The most dimensions an array value may declare; more cannot come from a real file.
constexpr uint16_t kMaxDims = 60;

// The texts are stored in GBK; the core has no GBK converter, so they stand here as bytes.
// "QM830K PC编程软件."
constexpr std::array<uint8_t, 18> kHeaderText = {0x51, 0x4d, 0x38, 0x33, 0x30, 0x4b,
                                                 0x20, 0x50, 0x43, 0xb1, 0xe0, 0xb3,
                                                 0xcc, 0xc8, 0xed, 0xbc, 0xfe, 0x2e};
// "版本 = 2.0" and "版本 = 1.1"
constexpr std::array<uint8_t, 10> kVersionCurrent = {0xb0, 0xe6, 0xb1, 0xbe, 0x20,
                                                     0x3d, 0x20, 0x32, 0x2e, 0x30};
constexpr std::array<uint8_t, 10> kVersionLegacy = {0xb0, 0xe6, 0xb1, 0xbe, 0x20,
                                                    0x3d, 0x20, 0x31, 0x2e, 0x31};

// One block of values 3 to 17: `rows` rows of 16 bytes stored as a (rows x 16) array with
// the row index varying fastest, or `count` bytes stored as a one-dimensional array.
struct BlockLayout {
  enum class Source { Image, Spare };
  Source source;
  uint16_t start;  // image address, or offset in the spare block
  int rows;        // 0 for a one-dimensional block
  int count;       // elements of a one-dimensional block
};

constexpr std::array<BlockLayout, 15> kBlocks = {{
    {BlockLayout::Source::Image, 0x000, 16, 0},
    {BlockLayout::Source::Spare, 0x000, 5, 0},
    {BlockLayout::Source::Image, 0x100, 11, 0},
    {BlockLayout::Source::Image, 0x1B0, 5, 0},
    {BlockLayout::Source::Image, 0x200, 11, 0},
    {BlockLayout::Source::Image, 0x2B0, 0, 16},
    {BlockLayout::Source::Image, 0x2C0, 0, 16},
    {BlockLayout::Source::Image, 0x2D0, 0, 16},
    {BlockLayout::Source::Image, 0x2E0, 0, 16},
    {BlockLayout::Source::Image, 0x2F0, 0, 16},
    {BlockLayout::Source::Image, 0x300, 0, 192},
    {BlockLayout::Source::Image, 0x3C0, 0, 16},
    {BlockLayout::Source::Image, 0x3D0, 0, 16},
    {BlockLayout::Source::Image, 0x3E0, 0, 16},
    {BlockLayout::Source::Image, 0x3F0, 0, 16},
}};
constexpr size_t kFunctionBlockIndex = 5;  // value 8

size_t ElementCount(const BlockLayout& b) {
  return b.rows > 0 ? static_cast<size_t>(b.rows) * kRowSize : static_cast<size_t>(b.count);
}

std::span<uint8_t> BlockBytes(const BlockLayout& b, Image& image, SpareBlock& spare) {
  size_t n = ElementCount(b);
  if (b.source == BlockLayout::Source::Spare) return std::span<uint8_t>(spare).subspan(b.start, n);
  return image.bytes().subspan(b.start, n);
}

// ---- reading ----

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t remaining() const { return bytes_.size() - pos_; }

  std::optional<uint16_t> u16() {
    if (remaining() < 2) return std::nullopt;
    uint16_t v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::optional<uint32_t> u32() {
    if (remaining() < 4) return std::nullopt;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes_[pos_ + static_cast<size_t>(i)];
    pos_ += 4;
    return v;
  }
  std::optional<std::span<const uint8_t>> take(size_t n) {
    if (remaining() < n) return std::nullopt;
    auto s = bytes_.subspan(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

struct Bound {
  uint32_t count;
  int32_t lower;
};

struct ArrayValue {
  bool ofBytes = false;  // an array of another element type never fills a block
  std::vector<Bound> bounds;
  std::span<const uint8_t> data;
};

// The element types an array value may hold (the low bits of its tag) and the bytes each
// element takes; 0 for texts, each of which carries its own 2-byte length as a text value
// does. A value of another type cannot be stepped over, so the file counts as damaged.
struct ElementType {
  uint16_t type;
  uint8_t size;
};
constexpr uint16_t kTagArrayFlag = 0x2000;
constexpr uint16_t kElementText = 0x08;
constexpr std::array<ElementType, 9> kElementTypes = {{
    {0x02, 2},  // 16-bit integer
    {0x03, 4},  // 32-bit integer
    {0x04, 4},  // single
    {0x05, 8},  // double
    {0x06, 8},  // currency
    {0x07, 8},  // date
    {kElementText, 0},
    {0x0B, 2},  // boolean
    {0x11, 1},  // byte
}};

std::optional<uint8_t> ElementSize(uint16_t tag) {
  if ((tag & 0xF000) != kTagArrayFlag) return std::nullopt;
  for (const ElementType& e : kElementTypes)
    if (e.type == (tag & 0x0FFF)) return e.size;
  return std::nullopt;
}

// A text value; nullopt when the value is cut short or is not a text.
std::optional<std::span<const uint8_t>> ReadText(Reader& r) {
  auto tag = r.u16();
  if (!tag || *tag != kTagText) return std::nullopt;
  auto len = r.u16();
  if (!len) return std::nullopt;
  return r.take(*len);
}

// An array value of any known element type; nullopt when it is not one, cannot be decoded
// or runs past the end. The data of an array of bytes is kept, any other is stepped over.
std::optional<ArrayValue> ReadArray(Reader& r) {
  auto tag = r.u16();
  if (!tag) return std::nullopt;
  auto size = ElementSize(*tag);
  if (!size) return std::nullopt;
  auto dims = r.u16();
  if (!dims || *dims > kMaxDims) return std::nullopt;
  ArrayValue v;
  v.ofBytes = *tag == kTagByteArray;
  // Every element takes at least one byte (a text at least its length), so there are
  // never more elements than bytes left: this also keeps the product from overflowing.
  const uint64_t minSize = *size == 0 ? 2 : *size;
  uint64_t elements = *dims == 0 ? 0 : 1;
  for (uint16_t d = 0; d < *dims; ++d) {
    auto count = r.u32();
    auto lower = r.u32();
    if (!count || !lower) return std::nullopt;
    v.bounds.push_back(Bound{*count, static_cast<int32_t>(*lower)});
    elements *= *count;
    if (elements * minSize > r.remaining()) return std::nullopt;
  }
  if (*size == 0) {
    for (uint64_t e = 0; e < elements; ++e) {
      auto len = r.u16();
      if (!len || !r.take(*len)) return std::nullopt;
    }
    return v;
  }
  auto data = r.take(static_cast<size_t>(elements * *size));
  if (!data) return std::nullopt;
  v.data = *data;
  return v;
}

// Whether an array has the block's shape: bytes, the same dimensions, each from 0 to the
// same upper bound. The two bound pairs of a block of rows may stand either way round
// (rows first, or the 16 bytes of a row first); the counts tell them apart, and the data
// has the row index varying fastest in both.
bool HasShape(const ArrayValue& v, const BlockLayout& b) {
  if (!v.ofBytes) return false;
  if (b.rows > 0) {
    if (v.bounds.size() != 2 || v.bounds[0].lower != 0 || v.bounds[1].lower != 0) return false;
    const uint32_t rows = static_cast<uint32_t>(b.rows);
    return (v.bounds[0].count == rows && v.bounds[1].count == kRowSize) ||
           (v.bounds[0].count == kRowSize && v.bounds[1].count == rows);
  }
  return v.bounds.size() == 1 && v.bounds[0].lower == 0 &&
         v.bounds[0].count == static_cast<uint32_t>(b.count);
}

void StoreBlock(const ArrayValue& v, const BlockLayout& b, std::span<uint8_t> target) {
  if (b.rows == 0) {
    std::copy(v.data.begin(), v.data.end(), target.begin());
    return;
  }
  const size_t rows = static_cast<size_t>(b.rows);
  for (size_t r = 0; r < rows; ++r)
    for (size_t c = 0; c < kRowSize; ++c) target[r * kRowSize + c] = v.data[r + rows * c];
}

bool Equal(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// ---- writing ----

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutText(std::vector<uint8_t>& out, std::span<const uint8_t> text) {
  PutU16(out, kTagText);
  PutU16(out, static_cast<uint16_t>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

void PutBlock(std::vector<uint8_t>& out, const BlockLayout& b, std::span<const uint8_t> src) {
  PutU16(out, kTagByteArray);
  if (b.rows == 0) {
    PutU16(out, 1);
    PutU32(out, static_cast<uint32_t>(b.count));
    PutU32(out, 0);
    out.insert(out.end(), src.begin(), src.end());
    return;
  }
  const size_t rows = static_cast<size_t>(b.rows);
  PutU16(out, 2);
  PutU32(out, static_cast<uint32_t>(rows));
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(kRowSize));
  PutU32(out, 0);
  for (size_t c = 0; c < kRowSize; ++c)
    for (size_t r = 0; r < rows; ++r) out.push_back(src[r * kRowSize + c]);
}

}  // namespace

LoadedFile ParseDataFile(std::span<const uint8_t> bytes, const Image& current,
                         const SpareBlock& currentSpare) {
  LoadedFile out;
  out.status = LoadStatus::Damaged;

  // Value 1. A file that does not begin with the header is not a data file at all; one
  // that ends inside it is a data file cut short.
  std::vector<uint8_t> header;
  PutText(header, kHeaderText);
  if (bytes.size() < header.size()) {
    bool prefix = std::equal(bytes.begin(), bytes.end(), header.begin());
    out.status = prefix ? LoadStatus::Damaged : LoadStatus::NotDataFile;
    return out;
  }
  if (!Equal(bytes.first(header.size()), header)) {
    out.status = LoadStatus::NotDataFile;
    return out;
  }
  Reader r(bytes.subspan(header.size()));

  // Value 2.
  auto version = ReadText(r);
  if (!version) return out;
  if (Equal(*version, kVersionCurrent)) {
    out.imageVerMajor = 2;
  } else if (Equal(*version, kVersionLegacy)) {
    out.imageVerMajor = 0;
  } else {
    out.status = LoadStatus::NewerVersion;
    return out;
  }

  // Values 3 to 17, into a scratch copy: the caller's data changes only after the whole
  // file has been read.
  out.image = current;
  out.spare = currentSpare;
  bool functionsLoaded = false;
  for (size_t i = 0; i < kBlocks.size(); ++i) {
    auto value = ReadArray(r);
    if (!value) return out;
    if (!HasShape(*value, kBlocks[i])) continue;  // the block keeps its contents
    StoreBlock(*value, kBlocks[i], BlockBytes(kBlocks[i], out.image, out.spare));
    if (i == kFunctionBlockIndex) functionsLoaded = true;
  }

  // Only a byte that came from the legacy file is in the legacy layout; a kept one is not.
  if (out.imageVerMajor < 2 && functionsLoaded)
    out.image.functions()[0] = FuncByte0FromV1(out.image.functions()[0]);
  out.status = LoadStatus::Ok;
  return out;
}

LoadedFile LoadDataFileFrom(const std::string& path, const Image& current,
                            const SpareBlock& currentSpare) {
  LoadedFile out;
  out.status = LoadStatus::NotFound;
  if (path.empty()) return out;
  // Hidden files count as absent, as in the file dialogs.
  const std::string name = PathToUtf8(PathFromUtf8(path).filename());
  if (name.empty() || name.front() == '.') return out;
  // Nothing after the last block is read; a generous limit still lets odd-shaped (skipped)
  // values take more room than the standard layout.
  constexpr size_t kReadLimit = size_t{1} << 20;
  FileBytes f = ReadFileBytes(path, kReadLimit);
  switch (f.status) {
    case ReadStatus::Missing:
    case ReadStatus::NotRegular:
      return out;
    case ReadStatus::Unreadable:
      out.status = LoadStatus::Damaged;
      return out;
    case ReadStatus::Ok:
      break;
  }
  return ParseDataFile(f.bytes, current, currentSpare);
}

bool IsLegacyName(const std::string& path) {
  constexpr std::string_view kLegacy = ".z410";
  return path.size() >= kLegacy.size() &&
         std::string_view(path).substr(path.size() - kLegacy.size()) == kLegacy;
}

std::vector<uint8_t> SerializeDataFile(const Image& image, const SpareBlock& spare, bool legacy) {
  // Work on copies: the legacy byte is converted for the file only.
  Image work = image;
  SpareBlock workSpare = spare;
  if (legacy) work.functions()[0] = FuncByte0ToV1(work.functions()[0]);

  std::vector<uint8_t> out;
  out.reserve(kDataFileSize);
  PutText(out, kHeaderText);
  PutText(out, legacy ? std::span<const uint8_t>(kVersionLegacy)
                      : std::span<const uint8_t>(kVersionCurrent));
  for (const BlockLayout& b : kBlocks) PutBlock(out, b, BlockBytes(b, work, workSpare));
  return out;
}

}  // namespace qm
