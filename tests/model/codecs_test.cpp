#include "model/codecs.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "base/tables.h"
#include "model/editor_fixture.h"
#include "model/image.h"

namespace qm {
namespace {

using test::FakePrompter;

struct Bytes3 {
  uint8_t b0, b1, b2;
};

Bytes3 Encode(const char* text, uint8_t b2 = 0) {
  Bytes3 b{0, 0, b2};
  FreqTextToBytes(text, b.b0, b.b1, b.b2);
  return b;
}

uint32_t Count(const Bytes3& b) { return ((b.b2 & 3u) << 16) | (b.b1 << 8) | b.b0; }

TEST(FreqCodec, EncodesOnTheRasterThatFitsBestAndDecodes) {
  // The texts of the bytes are the layout test's; here the way there and back.
  const std::tuple<const char*, uint32_t, bool> cases[] = {
      // text, count, 6.25 kHz
      {"450.00000", 72000, true},    // a multiple of 25 kHz takes 6.25 kHz units
      {"450.00500", 90001, false},   // only 5 kHz fits
      {"450.003125", 90001, false},  // halfway between 6.25 kHz steps: 5 kHz fits better
      {"446.00625", 0x116C1, true},
      {"145.000", 0x05AA0, true},
      {"145.005", 0x07149, false},
      {"136.0", 21760, true},
      // The raster is chosen on the value as typed, not rounded to whole Hz first.
      {"446.0056249", 89201, false},
      {"446.005625", 71361, true},
      {"446.0056251", 71361, true},
      {"446.0031251", 89201, false}};
  for (const auto& [text, count, step625] : cases) {
    Bytes3 b = Encode(text);
    EXPECT_EQ(std::tuple(Count(b), (b.b2 & 4) != 0), std::tuple(count, step625)) << text;
  }

  // The upper bits are kept; a text that is no number changes nothing.
  Bytes3 b = Encode("450.00500", 0xFF);
  EXPECT_EQ(b.b2, 0xF9);  // bits 7-3 kept, count bits 1-0 = 1, 5 kHz
  Bytes3 keep{0x12, 0x34, 0x5F};
  FreqTextToBytes("abc", keep.b0, keep.b1, keep.b2);
  FreqTextToBytes("", keep.b0, keep.b1, keep.b2);
  EXPECT_EQ(std::tuple(keep.b0, keep.b1, keep.b2), std::tuple(0x12, 0x34, 0x5F));
  // A huge entry must not wrap round into another frequency or into the flag bits.
  Bytes3 huge = Encode("9999.00000", 0x08), neg = Encode("-5", 0x08);
  EXPECT_EQ(std::tuple(Count(huge), huge.b2 & 0xF8, Count(neg), neg.b2 & 0xF8),
            std::tuple(0x3FFFFu, 0x08, 0u, 0x08));

  // Every count of both rasters survives text and back; the text takes the separator.
  EXPECT_EQ(FreqBytesToText(0xC1, 0x16, 0x05, ','), "446,00625");
  for (uint32_t n : {1u, 27200u, 71361u, 90001u, 262143u})
    for (uint8_t unit : {uint8_t{0}, uint8_t{4}}) {
      uint8_t b2 = static_cast<uint8_t>(((n >> 16) & 3) | unit);
      std::string text = FreqBytesToText(n & 0xFF, (n >> 8) & 0xFF, b2);
      Bytes3 back = Encode(text.c_str());
      EXPECT_EQ(FreqBytesToHz(back.b0, back.b1, back.b2),
                FreqBytesToHz(n & 0xFF, (n >> 8) & 0xFF, b2))
          << text;
    }
}

TEST(GetValidFreq, ClampsToTheExtendedBandAndSnapsToTheRaster) {
  AppState app = test::TestApp();
  FakePrompter p;
  // The raster is chosen on the value as typed: a digit below 1 Hz can decide the step, where
  // rounding to whole Hz first would turn it into a tie or the other raster. Ident byte 0x20
  // knows only the 6.25 kHz raster, where halfway between two steps the even count wins; the
  // choice between both rasters is FreqCodec's.
  struct Case {
    int model;  // 1: extended 136-174 MHz; 2: 446.0-446.2 MHz
    const char* text;
    uint8_t ident;
    double mhz;
  };
  const Case cases[] = {{1, "136.0", 10, 136.0},
                        {1, "145.005", 10, 145.005},
                        {1, "145.005", 0x20, 145.00625},
                        {1, "145.003125", 0x20, 145.0},
                        {1, "145.009375", 0x20, 145.0125},
                        {1, "145.0031", 10, 145.00500},
                        {2, "446.0031251", 0x20, 446.00625},  // just past the half step
                        {2, "446.003125", 0x20, 446.0},       // the half step itself: even count
                        {2, "446.0031249", 0x20, 446.0},
                        {2, "446.0093749", 0x20, 446.00625},
                        {2, "446.009375", 0x20, 446.0125},
                        {2, "446.0093751", 0x20, 446.0125},
                        {2, "446.0056249", 10, 446.005}};  // both rasters: FreqCodec's cases
  for (const Case& c : cases) {
    app.curModel = static_cast<int16_t>(c.model);
    ValidFreq v = getValidFreq(c.text, app, c.ident, p);
    EXPECT_EQ(v.flag, 1) << c.text;
    EXPECT_DOUBLE_EQ(v.mhz, c.mhz) << c.text << " ident " << int{c.ident};
  }
  EXPECT_EQ(getValidFreq("", app, 10, p).flag, 0);
  EXPECT_EQ(getValidFreq("14x", app, 10, p).flag, 0);
  EXPECT_TRUE(p.messages.empty());

  // Out of the extended band: the nearer edge, with the message.
  app.curModel = 1;
  EXPECT_DOUBLE_EQ(getValidFreq("135.9", app, 10, p).mhz, 136.0);
  EXPECT_DOUBLE_EQ(getValidFreq("500", app, 10, p).mhz, 174.0);
  EXPECT_EQ(test::Boxes(p),
            test::BoxList(2, test::Box({"QM830K", "频率超过范围！", Icon::Exclamation})));

  app.decimalSep = ',';
  ValidFreq v = getValidFreq("150,0125", app, 10, p);
  EXPECT_EQ(std::tuple(v.flag, v.mhz), std::tuple(1, 150.0125));
}

TEST(SignalCodec, TextToBytesAndRoundTrip) {
  // The texts of the bytes are the layout test's; here the way back.
  struct Case {
    const char* text;
    int16_t result;
    uint8_t type, lo, hi;
  };
  // Codes off the lists, OFF and texts that are none; the lists' values are the round trip's.
  const std::vector<Case> texts = {
      {"-DCS 777", 1, 0x7, 0xFF, 0x01}, {"DCS 005", 1, 0x5, 0x08, 0x00},
      {"DCS 019", 1, 0x5, 0x08, 0x00},  // reading stops at the 9, then clamps up
      {"OFF", 1, 0x0, 0x00, 0x00},      {"", 1, 0x0, 0x00, 0x00},
      {"xyz", 1, 0x0, 0x00, 0x00},      {"CTC abc", 0, 0x0, 0x00, 0x00},
      {"DCS ", 0, 0x0, 0x00, 0x00},     {"TTS x", 0, 0x0, 0x00, 0x00}};
  for (const Case& c : texts) {
    // The low nibble (in-use bit and the frequency's top bits) survives every text.
    uint8_t t = 0xAD, lo = 0x55, hi = 0x66;
    EXPECT_EQ(SignalTextToBytes(c.text, t, lo, hi), c.result) << c.text;
    EXPECT_EQ(std::tuple(t, lo, hi), std::tuple((c.type << 4) | 0x0D, c.lo, c.hi)) << c.text;
  }

  // Every value of the tables survives text and back.
  auto roundTrip = [](uint8_t t, uint8_t lo, uint8_t hi) {
    std::string text = SignalBytesToText(t, lo, hi);
    uint8_t t2 = t & 0x0F, lo2 = 0xEE, hi2 = 0xEE;
    SignalTextToBytes(text, t2, lo2, hi2);
    EXPECT_EQ(std::tuple(t2, lo2, hi2), std::tuple(t, lo, hi)) << text;
  };
  for (size_t i = 1; i < kCtcTones.size(); ++i) {
    uint16_t c = CtcToneCode(kCtcTones[i]);
    roundTrip(0x38, c & 0xFF, c >> 8);
  }
  for (int16_t d : kDcsCodes) {
    int v = DcsOctalValue(d);
    roundTrip(0x5C, v & 0xFF, v >> 8);
    roundTrip(0x74, v & 0xFF, v >> 8);
  }
  for (uint8_t n = 0; n <= 9; ++n) roundTrip(0x88, n, 0);
  roundTrip(0x08, 0, 0);
}

// A whole image's conversion is the version-1 read's (tests/radio/read_test.cpp).
TEST(ImageLayout, VersionOneFunctionByte0) {
  // Old bit 3 and new bit 7 are lost on the way.
  EXPECT_EQ(std::tuple(FuncByte0FromV1(0xA5), FuncByte0ToV1(0x55), FuncByte0FromV1(0x08),
                       FuncByte0ToV1(0x80)),
            std::tuple(0x55, 0xA5, 0x00, 0x00));
}

}  // namespace
}  // namespace qm
