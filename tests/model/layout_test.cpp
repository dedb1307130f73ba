#include "model/layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "model/channel_table.h"

namespace qm {
namespace {

using Bytes = std::vector<std::pair<size_t, uint8_t>>;

RecordBytes RowOf(const Bytes& set) {
  RecordBytes r{};
  for (auto [at, v] : set) r[at] = v;
  return r;
}

// Decoding then encoding gives the same 16 bytes, whatever they hold: the bits no field
// names are carried, and no two fields share a bit.
TEST(Layout, EveryRecordEncodesBackToItsBytes) {
  std::mt19937 rng(28);
  std::vector<RecordBytes> rows{RecordBytes{}, RowOf({})};
  rows[1].fill(0xFF);
  for (int n = 0; n < 3000; ++n) {
    RecordBytes r;
    for (uint8_t& b : r) b = static_cast<uint8_t>(rng());
    rows.push_back(r);
  }
  for (const RecordBytes& r : rows) {
    RecordBytes out{};
    EncodeChannel(DecodeChannel(r), out);
    EXPECT_EQ(out, r);
    out.fill(0x5A);
    EncodeFunctions(DecodeFunctions(r), out);
    EXPECT_EQ(out, r);
    out.fill(0x5A);
    EncodeIdent(DecodeIdent(r), out);
    EXPECT_EQ(out, r);
    out.fill(0x5A);
    EncodeTuneItemValues(DecodeTuneItemValues(r), out);
    EXPECT_EQ(out, r);
  }
}

// Each declaration names exactly the bits the radio gives a meaning, each bit once.
template <size_t N>
RecordBytes Covered(const std::array<FieldDecl, N>& fields) {
  RecordBytes all{};
  for (const FieldDecl& f : fields) {
    RecordBytes one{};
    WriteField(one, f, ~uint64_t{0});
    for (size_t i = 0; i < kRowSize; ++i) {
      EXPECT_EQ(all[i] & one[i], 0) << f.name << " overlaps at byte " << i;
      all[i] = static_cast<uint8_t>(all[i] | one[i]);
    }
    EXPECT_EQ(ReadField(one, f), f.width == 64 ? ~uint64_t{0} : (uint64_t{1} << f.width) - 1)
        << f.name;
  }
  return all;
}

TEST(Layout, DeclarationsCoverTheInterpretedBitsOnce) {
  EXPECT_EQ(Covered(kChannelFields), (RecordBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                  0xFF, 0xFF, 0x35, 0, 0, 0, 0xFF, 0xFF}));
  EXPECT_EQ(Covered(kFunctionFields), (RecordBytes{0xF8, 0x07, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0,
                                                   0, 0, 0xFF, 0x2B, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Covered(kIdentFields),
            (RecordBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Covered(kTuneValueFields),
            (RecordBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// One row per field (and per encoding case): the bytes that set it on a zero record, and the
// grid's texts (rx, rx signal, tx, tx signal, scan, busy lock, power, bandwidth) that differ
// from a zero record's.
TEST(Layout, ChannelFieldsDecodeAsTheGridShowsThem) {
  struct Case {
    const char* field;
    Bytes bytes;
    std::vector<std::pair<size_t, std::string>> shown;
    char sep = '.';
    bool inUse = false, txAllowed = false;
  };
  const Case cases[] = {
      {"rx", {{0, 0x40}, {1, 0x19}, {2, 0x05}}, {{0, "450.00000"}}},
      {"rx 5 kHz, comma", {{0, 0x91}, {1, 0x5F}, {2, 0x01}}, {{0, "450,00500"}}, ','},
      {"rx", {{0, 0xC1}, {1, 0x16}, {2, 0x05}}, {{0, "446.00625"}}},
      {"tx", {{5, 0xA0}, {6, 0x5A}, {7, 0x04}}, {{2, "145.00000"}}},
      {"tx at the field's end", {{5, 0xFF}, {6, 0xFF}, {7, 0x03}}, {{2, "1310.71500"}}},
      {"in_use", {{2, 0x08}}, {}, '.', true},
      {"tx_allowed", {{7, 0x08}}, {}, '.', false, true},
      {"rx_signal", {{2, 0x30}, {3, 0x70}, {4, 0x06}}, {{1, "CTC 67.0"}}},
      {"rx_signal comma", {{2, 0x30}, {3, 0x03}, {4, 0x25}}, {{1, "CTC 250,3"}}, ','},
      {"rx_signal", {{2, 0x30}, {3, 0x18}, {4, 0x13}}, {{1, "CTC 131.8"}}},
      {"rx_signal dcs", {{2, 0x50}, {3, 0x13}}, {{1, "DCS 023"}}},
      {"rx_signal type 2 shows off", {{2, 0x20}, {3, 0x70}, {4, 0x06}}, {}},
      {"rx_signal type 15 shows off", {{2, 0xF0}, {3, 0x11}, {4, 0x22}}, {}},
      {"tx_signal", {{7, 0x70}, {8, 0xEC}, {9, 0x01}}, {{3, "-DCS 754"}}},
      {"tx_signal tts", {{7, 0x80}, {8, 0x05}}, {{3, "TTS 5"}}},
      {"bandwidth", {{10, 0x01}}, {{7, "窄带"}}},
      {"busy_lock", {{10, 0x04}}, {{5, "打开"}}},
      {"scan", {{10, 0x10}}, {{4, "删除"}}},
      {"power", {{10, 0x20}}, {{6, "低"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    const std::string z = c.sep == '.' ? "000.00000" : "000,00000";
    std::array<std::string, 8> texts = {z, "OFF", z, "OFF", "添加", "关闭", "高", "宽带"};
    for (const auto& [column, text] : c.shown) texts[column] = text;
    const RecordBytes r = RowOf(c.bytes);
    const Channel ch = DecodeChannel(r);
    EXPECT_EQ(std::tuple(ChannelTexts(ch, c.sep), ch.inUse, ch.txAllowed, ch.carried),
              std::tuple(texts, c.inUse, c.txAllowed, RecordBytes{}));
    EXPECT_EQ(EncodeChannel(ch), r);
  }
  // The numbers the grid does not show.
  const Channel preset = DecodeChannel(RowOf({{14, 7}, {15, 40}}));
  EXPECT_EQ(std::tuple(preset.presetChannel, preset.presetSignal), std::tuple(7, 40));
  EXPECT_EQ(DecodeChannel(RowOf({{0, 0xC1}, {1, 0x16}, {2, 0x05}})).rx,
            (Frequency{446'006'250, true}));
}

TEST(Layout, FrequencyEndsAtItsFieldAndKeepsItsUnit) {
  EXPECT_EQ(Frequency::Of(450'000'000, false), (Frequency{450'000'000, false}));
  EXPECT_EQ(Frequency::Of(int64_t{1} << 40, true), (Frequency{0x3FFFF * int64_t{6250}, true}));
  EXPECT_EQ(Frequency::Of(-5, false), (Frequency{0, false}));
}

struct FunctionCase {
  Bytes bytes;
  std::function<int(const Functions&)> value;
  int expected;
};

TEST(Layout, FunctionFieldsDecodeAsTheRadioMeansThem) {
  using F = const Functions&;
  const FunctionCase cases[] = {
      {{{0, 0x10}}, [](F f) { return f.scanMode; }, 2},
      {{{0, 0xE0}}, [](F f) { return f.monitor; }, 7},
      {{{1, 0x04}}, [](F f) { return f.revert; }, 4},
      {{{2, 0x15}}, [](F f) { return f.priority.value().value_or(-1); }, 15},
      {{{2, 0x1A}}, [](F f) { return f.priority.value().value_or(-1); }, -1},
      {{{3, 0x50}}, [](F f) { return f.lookBack.value().value_or(-1); }, 50},
      {{{4, 0x02}}, [](F f) { return f.powerKey; }, 2},
      {{{4, 0x84}}, [](F f) { return f.powerKeySpare; }, 0x21},
      {{{6, 0x45}}, [](F f) { return f.scanHang.value().value_or(-1); }, 45},
      {{{7, 0xFF}}, [](F f) { return f.txTimeout.raw == kTxTimeoutUnlimited; }, 1},
      {{{11, 9}}, [](F f) { return f.squelch; }, 9},
      {{{12, 0x01}}, [](F f) { return f.manualMode; }, 1},
      {{{12, 0x02}}, [](F f) { return f.bandwidth == Bandwidth::Narrow; }, 1},
      {{{12, 0x08}}, [](F f) { return f.batterySave; }, 1},
      {{{12, 0x20}}, [](F f) { return f.keyBeep; }, 1},
      {{{13, 200}}, [](F f) { return f.preAlert; }, 200},
      {{{14, 0x60}}, [](F f) { return f.totRekey.value().value_or(-1); }, 60},
      {{{15, 0x15}}, [](F f) { return f.totReset.value().value_or(-1); }, 15},
  };
  for (const FunctionCase& c : cases) {
    const RecordBytes r = RowOf(c.bytes);
    const Functions f = DecodeFunctions(r);
    EXPECT_EQ(c.value(f), c.expected) << int(c.bytes[0].first);
    EXPECT_EQ(f.carried, RecordBytes{});
    RecordBytes out{};
    EncodeFunctions(f, out);
    EXPECT_EQ(out, r);
  }
  EXPECT_EQ(Bcd::Of(42).raw, 0x42);
  EXPECT_EQ(Bcd::Of(120).raw, 0x99);
}

TEST(Layout, IdentAndTuneValuesDecode) {
  const RecordBytes r = {3, 0, 0x20, '2', '1', '7', '4', 'Q', 9, 0, 0, 0, 0, 0, 0, 0};
  const Ident id = DecodeIdent(r);
  EXPECT_EQ(std::tuple(id.minorVersion, id.modelCode, id.identity, id.carried[8]),
            std::tuple(uint8_t{3}, uint8_t{0x20}, std::string(kIdentityText), uint8_t{9}));
  const TuneItemValues v = DecodeTuneItemValues(r);
  EXPECT_EQ(std::tuple(v.values[0], v.values[2], v.values[6], v.carried[7]),
            std::tuple(uint8_t{3}, uint8_t{0x20}, uint8_t{'4'}, uint8_t{'Q'}));
}

}  // namespace
}  // namespace qm
