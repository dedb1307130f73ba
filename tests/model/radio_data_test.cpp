#include "model/radio_data.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "base/model_table.h"
#include "model/editor_fixture.h"

namespace qm {
namespace {

class RadioDataTest : public test::EditorTest {};

// Rejected values and the radio's bandwidth on the way: the messages in the display order
// (time-out settings, then squelch, then the scan settings) on every display, and never an edit.
TEST_F(RadioDataTest, DisplayShowsTheBlockAndTheBandInOrderAndIsNoEdit) {
  app.curModel = 1;
  Image image = test::DefaultImage(app, 1);
  auto f = image.functions();
  f[7] = 0x31;  // time-out rejected
  f[11] = 20;   // squelch rejected
  f[2] = 0x20;  // priority rejected
  f[3] = 0x02;  // look-back rejected
  f[4] = 2;
  f[12] |= 0x02;  // the radio narrow: the bandwidth column grey
  for (EditFlags before : {EditFlags{false, false, false}, EditFlags{true, false, false},
                           EditFlags{false, true, false}, EditFlags{true, true, true}}) {
    flags = before;
    prompter.clear();
    editors.DisplayRadioData(image);
    EXPECT_EQ(std::tuple(flags.dataChanged, flags.functionsChanged),
              std::tuple(before.dataChanged, before.functionsChanged));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"发射限时错误！", "静噪等级错误！",
                                                          "优先信道错误！", "回扫周期错误！"}));
  }
  EXPECT_EQ(std::tuple(grid().cell(1, col::kRxFreq).text, grid().cell(1, col::kBandwidth).color,
                       app.bandText),
            std::tuple("136.00000", CellColor::GreyText, BuildBandText(app, 1)));
  f[12] &= ~0x02;
  editors.DisplayRadioData(image);
  EXPECT_EQ(grid().cell(1, col::kBandwidth).color, CellColor::Active);

  // Collecting writes the identification row and clears the flags (the bits no editor owns
  // are AnyImageSurvivesDisplayAndCollect's).
  for (size_t b = 0; b < 16; ++b) image.ident()[b] = static_cast<uint8_t>(0xA0 + b);
  flags = {true, true, false};
  editors.CollectRadioData(image);
  EXPECT_EQ(flags, EditFlags{});
  EXPECT_EQ(std::vector<uint8_t>(image.ident().begin(), image.ident().end()),
            (std::vector<uint8_t>{0, 0, 10, '2', '1', '7', '4', 'Q', 0xA8, 0xA9, 0xAA, 0xAB, 0xAC,
                                  0xAD, 0xAE, 0xAF}));
}

// Bits of the image that no editor owns: a display and collect must carry them unchanged.
std::array<uint8_t, kImageSize> KeptMask() {
  std::array<uint8_t, kImageSize> m;
  m.fill(0xFF);
  for (int c = 0; c < kChannelCount; ++c) {
    for (size_t b = 0; b < 10; ++b) m[16 * c + b] = 0;
    m[16 * c + 10] = 0xCA;
  }
  const size_t f = addr::kFunctions;
  const std::array<uint8_t, 16> fn = {0x07, 0xF8, 0,    0, 0,    0xFF, 0, 0,
                                      0xFF, 0xFF, 0xFF, 0, 0xD4, 0,    0, 0};
  for (size_t b = 0; b < 16; ++b) m[f + b] = fn[b];
  for (size_t b = 0; b < 8; ++b) m[addr::kIdent + b] = 0;
  return m;
}

TEST_F(RadioDataTest, AnyImageSurvivesDisplayAndCollect) {
  const auto kept = KeptMask();
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    Image in;
    for (auto& b : in.bytes()) b = static_cast<uint8_t>(rng());
    editors.DisplayRadioData(in);
    Image once = in;
    editors.CollectRadioData(once);
    for (size_t a = 0; a < kImageSize; ++a)
      ASSERT_EQ(once[a] & kept[a], in[a] & kept[a]) << "round " << round << " address " << a;

    // What the editors wrote is what they show: a second pass settles for good.
    editors.DisplayRadioData(once);
    Image twice = once;
    editors.CollectRadioData(twice);
    editors.DisplayRadioData(twice);
    Image thrice = twice;
    editors.CollectRadioData(thrice);
    ASSERT_EQ(thrice, twice) << "round " << round;
  }
}

}  // namespace
}  // namespace qm
