// The radio's 1024-byte memory image and typed views of its areas.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qm {

inline constexpr size_t kImageSize = 0x400;
inline constexpr size_t kRowSize = 16;
inline constexpr int kChannelCount = 16;
inline constexpr int kTuneChannelCount = 11;

// Area addresses. Every area starts on a 16-byte row.
namespace addr {
inline constexpr uint16_t kChannels = 0x000;      // 16 channel records
inline constexpr uint16_t kTuneChannels = 0x100;  // 11 tune channel records
inline constexpr uint16_t kFunctions = 0x2B0;
inline constexpr uint16_t kIdent = 0x2D0;
inline constexpr uint16_t kTuneItems = 0x2F0;
inline constexpr uint16_t kEmbedText = 0x300;  // 192 bytes, UTF-16LE user text
inline constexpr uint16_t kWriteDate = 0x3C0;  // 16 bytes, YYYYMMDDhhmmss + 2 zero bytes
inline constexpr uint16_t kRadioId = 0x3E0;    // 16 single-byte characters
inline constexpr size_t kEmbedTextSize = 192;
}  // namespace addr

using Row = std::span<uint8_t, kRowSize>;
using ConstRow = std::span<const uint8_t, kRowSize>;

// One channel (or tune channel) record's 16 bytes; its fields are declared in model/layout.h.
class ChannelRecord {
 public:
  explicit ChannelRecord(Row bytes) : b_(bytes) {}
  uint8_t& operator[](size_t i) { return b_[i]; }
  uint8_t operator[](size_t i) const { return b_[i]; }
  Row bytes() { return b_; }

  // Read through the record's declaration (model/layout.cpp).
  bool inUse() const;
  bool txAllowed() const;
  bool narrow() const;
  bool busyLock() const;
  bool scanDeleted() const;
  bool lowPower() const;

 private:
  Row b_;
};

class Image {
 public:
  Image() { bytes_.fill(0); }

  std::span<uint8_t, kImageSize> bytes() { return bytes_; }
  std::span<const uint8_t, kImageSize> bytes() const { return bytes_; }
  uint8_t& operator[](size_t address) { return bytes_[address]; }
  uint8_t operator[](size_t address) const { return bytes_[address]; }

  Row row(size_t address) { return Row(bytes_.data() + (address & ~size_t{15}), kRowSize); }
  ConstRow row(size_t address) const {
    return ConstRow(bytes_.data() + (address & ~size_t{15}), kRowSize);
  }

  // Channel n (0..15) and tune channel r (0..10).
  ChannelRecord channel(int n) { return ChannelRecord(row(addr::kChannels + 16 * n)); }
  ChannelRecord tuneChannel(int r) { return ChannelRecord(row(addr::kTuneChannels + 16 * r)); }
  Row functions() { return row(addr::kFunctions); }
  ConstRow functions() const { return row(addr::kFunctions); }
  Row ident() { return row(addr::kIdent); }
  ConstRow ident() const { return row(addr::kIdent); }
  Row tuneItems() { return row(addr::kTuneItems); }
  ConstRow tuneItems() const { return row(addr::kTuneItems); }
  Row writeDate() { return row(addr::kWriteDate); }
  ConstRow writeDate() const { return row(addr::kWriteDate); }
  Row radioId() { return row(addr::kRadioId); }
  ConstRow radioId() const { return row(addr::kRadioId); }
  std::span<uint8_t> embedText() {
    return {bytes_.data() + addr::kEmbedText, addr::kEmbedTextSize};
  }
  std::span<const uint8_t> embedText() const {
    return {bytes_.data() + addr::kEmbedText, addr::kEmbedTextSize};
  }

  // The model code held in the identification block (read and written through its
  // declaration, model/layout.cpp).
  uint8_t modelCode() const;
  void setModelCode(uint8_t code);

  bool operator==(const Image&) const = default;

 private:
  std::array<uint8_t, kImageSize> bytes_;
};

// The 80-byte block that a data file carries beside the image; never sent to a radio.
using SpareBlock = std::array<uint8_t, 80>;

// Function byte 0 in the version-1 layout (scan mode in bits 5-4, monitor in 7-6).
constexpr uint8_t FuncByte0FromV1(uint8_t b) {
  return static_cast<uint8_t>(((b & 0xF0) / 2) | (b & 0x07));
}
constexpr uint8_t FuncByte0ToV1(uint8_t b) {
  return static_cast<uint8_t>(((b & 0x78) * 2) | (b & 0x07));
}

// What a read from a version-1 radio turns off before anything is shown.
void ConvertFromV1Layout(Image& image);

}  // namespace qm
