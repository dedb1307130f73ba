#include "model/defaults.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/editor_fixture.h"

namespace qm {
namespace {

using test::Record;
using test::TestTime;

ModelEntry Model(int16_t code, double low) {
  return ModelEntry{"m", code, low, low + 20, low, low + 30};
}

TEST(Defaults, FunctionBlockFamiliesAndTheStepFamiliesFill) {
  Image image;
  image.functions()[5] = 0x77;
  SetDefaultFunctions(image);
  const std::vector<uint8_t> want = {0x68, 0x03, 0x00, 0x05, 0x01, 0x00, 0x30, 0x06,
                                     0xFF, 0xFF, 0x01, 0x05, 0x28, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(image.functions().begin(), image.functions().end()), want);

  // The channel family by model code.
  for (int c : {0, 1, 2, 3, 4, 5, 10, 11}) EXPECT_EQ(FamilyForCode(c), ChannelFamily::Step5) << c;
  for (int c : {6, 7, 8, 9, 12, 13, 31, 33, 200})
    EXPECT_EQ(FamilyForCode(c), ChannelFamily::Step625) << c;
  EXPECT_EQ(FamilyForCode(32), ChannelFamily::Fixed446);

  // The step families fill every channel with the band edge.
  using Bytes = std::array<uint8_t, 3>;  // bytes 0-2: channels 1-15, channel 16
  const std::tuple<int16_t, double, Bytes, Bytes> cases[] = {
      {10, 136.0, {0x40, 0x6A, 0x08}, {0x40, 0x6A, 0x00}},  // N = 27200 in 5 kHz units
      {12, 400.0, {0x00, 0xFA, 0x0C}, {0x00, 0xFA, 0x04}},  // N = 64000 in 6.25 kHz units
      {0, 136.0, {0x40, 0x6A, 0x08}, {0x40, 0x6A, 0x00}},
      {7, 446.00625, {0xC1, 0x16, 0x0D}, {0xC1, 0x16, 0x05}}};
  for (const auto& [code, low, on, off] : cases) {
    Image image;
    for (auto& b : image.bytes()) b = 0xEE;  // every channel byte is rewritten
    SetDefaultChannels(image, Model(code, low), TestTime());
    for (int ch = 0; ch < kChannelCount; ++ch) {
      const auto& want = ch == 15 ? off : on;
      std::array<uint8_t, 16> rec = Record(image, ch);
      std::array<uint8_t, 16> exp = {want[0], want[1], want[2], 0, 0,
                                     want[0], want[1], want[2], 0, 0,
                                     0,       0,       0,       0, uint8_t(ch == 15 ? 0 : 1),
                                     1};
      EXPECT_EQ(rec, exp) << "code " << code << " channel " << ch + 1;
    }
    // Only the channel area and the date row change.
    EXPECT_EQ(std::tuple(image[0x100], image.functions()[0]), std::tuple(0xEE, 0xEE));
  }

  // A band edge beyond the field does not spill into the flags.
  SetDefaultChannels(image, Model(10, 2000.0), TestTime());
  // The count stops at its 18-bit maximum: step bit clear, in use, no signalling.
  EXPECT_EQ(std::tuple(image.channel(0)[0], image.channel(0)[1], image.channel(0)[2]),
            std::tuple(0xFF, 0xFF, 0x0B));
}

TEST(Defaults, FixedChannelFamilyMatchesThePresetTableByteForByte) {
  // Bytes 0-4 of each channel, repeated in 5-9. Channel 16: off, transmit inhibited, no
  // signalling, the code bytes holding 67.0 Hz.
  const uint8_t rx[16][5] = {{0xC1, 0x16, 0x3D, 0x44, 0x07}, {0xC9, 0x16, 0x3D, 0x85, 0x08},
                             {0xC5, 0x16, 0x3D, 0x74, 0x09}, {0xCD, 0x16, 0x3D, 0x19, 0x07},
                             {0xC3, 0x16, 0x3D, 0x97, 0x07}, {0xCB, 0x16, 0x3D, 0x70, 0x06},
                             {0xC7, 0x16, 0x3D, 0x54, 0x08}, {0xCF, 0x16, 0x5D, 0x1A, 0x00},
                             {0xC1, 0x16, 0x5D, 0x3B, 0x00}, {0xC9, 0x16, 0x5D, 0x3C, 0x00},
                             {0xC5, 0x16, 0x5D, 0x4C, 0x00}, {0xCD, 0x16, 0x5D, 0x4D, 0x00},
                             {0xC3, 0x16, 0x3D, 0x65, 0x13}, {0xCB, 0x16, 0x3D, 0x13, 0x14},
                             {0xC7, 0x16, 0x3D, 0x62, 0x14}, {0xC1, 0x16, 0x05, 0x70, 0x06}};
  const std::array<uint8_t, 16> k = {1, 5, 3, 7, 2, 6, 4, 8, 1, 5, 3, 7, 2, 6, 4, 0};
  const std::array<uint8_t, 16> s = {3, 8, 11, 2, 5, 1, 7, 43, 51, 52, 53, 54, 21, 22, 23, 0};

  Image image;
  for (int ch = 0; ch < kChannelCount; ++ch)
    for (size_t b = 10; b < 14; ++b) image.channel(ch)[b] = static_cast<uint8_t>(0x40 + b + ch);
  SetDefaultFunctions(image);
  auto f = image.functions();
  f[5] = 0x99;
  f[12] |= 0x01;  // cleared for the fixed channels
  SetDefaultChannels(image, Model(32, 446.0), TestTime());

  for (int ch = 0; ch < kChannelCount; ++ch) {
    std::array<uint8_t, 16> rec = Record(image, ch);
    for (size_t b = 0; b < 5; ++b)
      EXPECT_EQ(std::tuple(rec[b], rec[5 + b]), std::tuple(rx[ch][b], rx[ch][b]))
          << ch + 1 << " " << b;
    for (size_t b = 11; b < 14; ++b) EXPECT_EQ(rec[b], 0x40 + b + ch) << ch + 1;  // kept
    EXPECT_EQ(std::tuple(rec[10], rec[14], rec[15]),
              std::tuple(static_cast<uint8_t>((0x40 + 10 + ch) | 0x21), k[ch], s[ch]))
        << ch + 1;
  }
  // The function block: bytes 0, 4 and 12 set for the model, 5 kept, the rest the defaults.
  std::array<uint8_t, 16> fWant = kDefaultFunctionBlock;
  fWant[0] = 0x78, fWant[4] = 0x00, fWant[12] = 0x2A, fWant[5] = 0x99;
  EXPECT_TRUE(std::equal(fWant.begin(), fWant.end(), f.begin()));
}

TEST(Defaults, WriteDateStamp) {
  Image image;
  image.writeDate()[15] = 0x55;
  SetDefaultChannels(image, Model(7, 400.0), TestTime());
  EXPECT_EQ(std::string(image.writeDate().begin(), image.writeDate().end()),
            std::string("20061205143000\0\0", 16));

  std::tm t = TestTime();
  t.tm_year = 126, t.tm_mon = 0, t.tm_mday = 9, t.tm_hour = 3, t.tm_min = 4, t.tm_sec = 59;
  std::array<uint8_t, 20> longRow;
  longRow.fill(0xAA);
  StampWriteDate(longRow, t);
  EXPECT_EQ(std::string(longRow.begin(), longRow.end()),
            std::string("20260109030459\0\0\0\0\0\0", 20));

  std::array<uint8_t, 6> shortRow{};
  StampWriteDate(shortRow, t);  // only what fits
  EXPECT_EQ(std::string(shortRow.begin(), shortRow.end()), "202601");
}

}  // namespace
}  // namespace qm
