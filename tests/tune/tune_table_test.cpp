#include "tune/tune_table.h"

#include <gtest/gtest.h>

#include "model/channel_table.h"
#include "support/fake_prompter.h"
#include "tune/tune_rig.h"

namespace qm {
namespace {

struct TableBench {
  AppState app = test::TuneApp();
  EditFlags flags;
  test::FakePrompter prompter;
  uint8_t modelByte = 0;
  int16_t curTuneChannel = 0;
  Image image;
  TuneTableModel table{app, flags, prompter, modelByte, curTuneChannel};
};

TEST(TuneTable, DefaultsAreSwitchedOffAtTheLowerBandEdge) {
  TableBench b;
  b.app.curModel = 1;  // lower edge 400 MHz
  b.image.bytes()[0x100 + 3] = 0x77;
  b.table.SetDefaultTuneChannels(b.image);
  const std::array<uint8_t, 16> want = {0x00, 0xFA, 0x04, 0, 0, 0x00, 0xFA, 0x04,
                                        0,    0,    0,    0, 0, 0,    1,    0};  // 64000
  for (int r = 0; r < kTuneChannelCount; ++r) {
    SCOPED_TRACE(r);
    for (size_t c = 0; c < 16; ++c) EXPECT_EQ(b.image[0x100 + 16 * r + c], want[c]) << c;
    const TuneTableModel& t = b.table;
    EXPECT_EQ(std::tuple(t.channelOff(r), t.txInhibited(r), t.optionEnabled(r),
                         t.txInhibitEnabled(r), t.text(r + 1, tunecol::kRxFreq),
                         t.text(r + 1, tunecol::kRxStep), t.text(r + 1, tunecol::kTxSignal)),
              std::tuple(true, true, false, false, "400.00000", "6.25", "OFF"));
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(b.table.color(r + 1, c), TuneCellColor::ButtonFace);
  }
  EXPECT_EQ(std::tuple(b.table.selectedChannel(), b.flags.tuneDataChanged), std::tuple(-1, false));
  // Displaying the table keeps the change flag as it was.
  b.flags.tuneDataChanged = true;
  b.table.DisplayTuneGrid(b.image);
  EXPECT_TRUE(b.flags.tuneDataChanged);
}

TEST(TuneTable, FrequencyEncoding) {
  struct Case {
    double mhz;
    double step;
    uint8_t b0, b1, b2low;  // b2 bits 0-1
  };
  const std::vector<Case> cases = {
      {146.0125, 0.00625, 0x42, 0x5B, 0},  // count 23362
      {450.0, 0.00625, 0x40, 0x19, 1},     // count 72000
      {450.005, 0.005, 0x91, 0x5F, 1},     // count 90001
      {146.0151, 0.005, 0x13, 0x72, 0},    // rounded to the nearest step: 29203
      // Just past and short of a half step, as typed (not rounded to whole Hz first).
      {446.0031251, 0.00625, 0xC1, 0x16, 1},  // count 71361
      {446.0031249, 0.00625, 0xC0, 0x16, 1},  // count 71360
      {446.003125, 0.00625, 0xC0, 0x16, 1},   // the tie: even count 71360
      {446.0025001, 0.005, 0x71, 0x5C, 1},    // count 89201
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mhz);
    uint8_t b0 = 0, b1 = 0, b2 = 0xFF;
    TuneTableModel::EncodeTuneFreq(c.mhz, c.step, b0, b1, b2);
    EXPECT_EQ(std::tuple(b0, b1, b2), std::tuple(c.b0, c.b1, 0xFC | c.b2low));  // bits 2-7 stay
  }
}

// The frequency editor: a typed frequency is copied as typed, snapped to the step on Enter
// and packed; the arrows step it; a wrong or out-of-band text is refused. Then the signalling
// dialog's result.
TEST(TuneTable, FrequencyEditorAndSignalDialog) {
  TableBench b;
  b.curTuneChannel = 1;
  test::PutTuneChannel(b.image.bytes(), 0, 150.0, 0x30, 0x70, 0x06);
  b.table.DisplayTuneGrid(b.image);
  ASSERT_EQ(b.table.pressCell(1, tunecol::kRxFreq).action, GridAction::OpenFreqEditor);
  b.table.editorTextChanged("146.0126");
  EXPECT_EQ(std::tuple(b.table.text(1, 1), b.flags.tuneDataChanged), std::tuple("146.0126", true));
  b.table.editorEnter();
  EXPECT_EQ(std::tuple(b.table.text(1, 1), b.table.freqEditor().visible, b.table.currentCol()),
            std::tuple("146.01250", false, 2));
  b.table.PackTuneGrid(b.image);
  EXPECT_EQ(
      std::tuple(b.image[0x100], b.image[0x101], b.image[0x102] & 0x07, b.prompter.messages.size()),
      std::tuple(0x42, 0x5B, 0x04, 0u));

  b.table.pressCell(1, tunecol::kTxFreq);
  b.table.editorUp();
  b.table.editorDown();
  b.table.editorDown();
  EXPECT_EQ(b.table.freqEditor().text, "149.99375");

  b.table.editorTextChanged("14x");
  b.table.validateEditor();
  EXPECT_EQ(b.prompter.lines(), (std::vector<std::string>{"频率错误 / 调测频率错误！"}));
  EXPECT_EQ(b.table.text(1, 4), "150.00000");  // the value before the editor opened

  b.prompter.messages.clear();
  b.table.editorTextChanged("");
  b.table.validateEditor();
  EXPECT_EQ(std::tuple(b.table.text(1, 4), b.prompter.messages.size()),
            std::tuple("150.00000", 0u));

  b.table.editorTextChanged("190");
  b.table.validateEditor();
  EXPECT_EQ(b.prompter.lines(), (std::vector<std::string>{"QM830K / 频率超过范围！"}));
  EXPECT_EQ(b.table.text(1, 4), "180.00000");

  EXPECT_TRUE(b.table.CommitPendingEdit());
  EXPECT_FALSE(b.table.freqEditor().visible);

  b.flags.tuneDataChanged = false;
  const CellPress p = b.table.pressCell(1, tunecol::kTxSignal);
  ASSERT_EQ(std::tuple(p.action, p.signalText),
            std::tuple(GridAction::OpenSignalDialog, "CTC 67.0"));
  b.table.finishSignalDialog(1, tunecol::kTxSignal, std::string("CTC 67.0"));
  b.table.finishSignalDialog(1, tunecol::kTxSignal, std::nullopt);
  EXPECT_FALSE(b.flags.tuneDataChanged);
  b.table.finishSignalDialog(1, tunecol::kTxSignal, std::string("DCS 023"));
  EXPECT_TRUE(b.flags.tuneDataChanged);
  b.table.PackTuneGrid(b.image);
  // The type and code of DCS 023; the step and transmit bits survive.
  EXPECT_EQ(std::tuple(b.image[0x107] & 0xF0, b.image[0x108], b.image[0x107] & 0x0F),
            std::tuple(0x50, 0x13, 0x0C));
}

TEST(TuneTable, StepToggleSnapsTheFrequency) {
  struct Case {
    double mhz;
    bool step625;
    std::string stepAfter;
    std::string freqAfter;
    bool message;
  };
  const std::vector<Case> cases = {
      {146.015, false, "6.25", "146.01250", false},  // 23362.4 steps of 6.25 kHz
      {146.0125, true, "5.00", "146.01000", false},  // 29202.5 steps of 5 kHz: ties to even
      {146.01875, true, "5.00", "146.02000", false},
      {185.0, false, "6.25", "180.00000", true},  // outside the extended band
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mhz);
    TableBench b;
    test::PutTuneChannel(b.image.bytes(), 3, 150.0, 0x00, 0, 0);
    const auto n = static_cast<uint32_t>(c.mhz * 1000 / (c.step625 ? 6.25 : 5) + 0.5);
    b.image[0x100 + 48 + 5] = static_cast<uint8_t>(n & 0xFF);
    b.image[0x100 + 48 + 6] = static_cast<uint8_t>(n >> 8);
    b.image[0x100 + 48 + 7] = static_cast<uint8_t>(0x08 | (c.step625 ? 4 : 0) | (n >> 16));
    b.table.DisplayTuneGrid(b.image);
    EXPECT_EQ(b.table.pressCell(4, tunecol::kTxStep).action, GridAction::None);
    EXPECT_EQ(std::tuple(b.table.text(4, tunecol::kTxStep), b.table.text(4, tunecol::kTxFreq),
                         b.flags.tuneDataChanged, b.prompter.messages.size()),
              std::tuple(c.stepAfter, c.freqAfter, true, c.message ? 1u : 0u));
  }
}

TEST(TuneTable, DisplayAndPackRoundTripKeepsBytesTenToFifteen) {
  TableBench b;
  const std::vector<std::array<uint8_t, 16>> records = {
      {0x42, 0x5B, 0x0C, 0x00, 0x00, 0x42, 0x5B, 0x3C, 0x70, 0x06, 1, 2, 3, 4, 5, 6},
      {0x91, 0x5F, 0x59, 0x13, 0x00, 0x40, 0x19, 0x7D, 0xEC, 0x01, 0xAA, 0, 0, 0, 1, 0},
      {0x00, 0x55, 0x04, 0x00, 0x00, 0x00, 0x55, 0x04, 0x00, 0x00, 0, 0, 0, 0, 1, 0xFF},
  };
  for (size_t r = 0; r < records.size(); ++r)
    for (size_t c = 0; c < 16; ++c) b.image[0x100 + 16 * r + c] = records[r][c];
  b.table.DisplayTuneGrid(b.image);
  EXPECT_EQ(std::tuple(b.table.text(2, tunecol::kRxSignal), b.table.text(2, tunecol::kTxSignal),
                       b.table.text(2, tunecol::kRxStep)),
            std::tuple("DCS 023", "-DCS 754", "5.00"));
  Image packed = b.image;
  for (size_t r = 0; r < records.size(); ++r)
    for (size_t c = 0; c < 10; ++c) packed[0x100 + 16 * r + c] = 0;
  b.table.PackTuneGrid(packed);
  EXPECT_EQ(packed, b.image);
}

TEST(TuneTable, BoxesOptionsAndColours) {
  TableBench b;
  for (int r = 0; r < 4; ++r) test::PutTuneChannel(b.image.bytes(), r, 150.0, 0x00, 0, 0);
  b.image[0x100 + 16 * 2 + 7] &= static_cast<uint8_t>(~0x08);  // channel 3 transmit inhibited
  b.curTuneChannel = 2;
  b.table.DisplayTuneGrid(b.image);
  EXPECT_EQ(b.table.selectedChannel(), 1);

  // The selected channel cannot be switched off or inhibited.
  EXPECT_EQ(std::tuple(b.table.channelOffEnabled(1), b.table.txInhibitEnabled(1)),
            std::tuple(false, false));
  b.table.clickChannelOff(1);
  EXPECT_EQ(std::tuple(b.table.channelOff(1), b.flags.tuneDataChanged), std::tuple(false, false));
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(b.table.color(2, c), TuneCellColor::Red);
  // Row 5 is switched off.
  EXPECT_EQ(std::tuple(b.table.color(3, 1), b.table.color(3, 4), b.table.color(5, 1)),
            std::tuple(TuneCellColor::Black, TuneCellColor::ButtonFace, TuneCellColor::ButtonFace));

  // Switching another channel off disables its option button and transmit box.
  b.table.clickChannelOff(0);
  EXPECT_EQ(std::tuple(b.table.channelOff(0), b.table.optionEnabled(0), b.table.txInhibitEnabled(0),
                       b.table.channelOffEnabled(0), b.flags.tuneDataChanged),
            std::tuple(true, false, false, true, true));

  // A press on a switched-off row opens nothing; a transmit cell of an inhibited one neither.
  EXPECT_EQ(std::tuple(b.table.pressCell(1, tunecol::kRxFreq).action, b.table.channelOff(0),
                       b.table.pressCell(3, tunecol::kTxFreq).action,
                       b.table.pressCell(3, tunecol::kRxFreq).action),
            std::tuple(GridAction::None, true, GridAction::None, GridAction::OpenFreqEditor));

  // Choosing channel 4 frees channel 2's boxes; selecting does not mark the table edited.
  b.flags.tuneDataChanged = false;
  b.table.clickTestChannel(3);
  EXPECT_EQ(std::tuple(b.curTuneChannel, b.table.channelOffEnabled(1), b.table.color(2, 1),
                       b.table.color(4, 6), b.flags.tuneDataChanged),
            std::tuple(4, true, TuneCellColor::Black, TuneCellColor::Red, false));

  // A selected channel that is transmit-inhibited keeps its transmit cells in button face.
  b.table.clickTestChannel(2);
  EXPECT_EQ(std::tuple(b.table.color(3, 1), b.table.color(3, 5)),
            std::tuple(TuneCellColor::Red, TuneCellColor::ButtonFace));
}

// The grids' colour roles on a light and a dark theme: every text reads on what it is drawn
// on (4.5:1), the program's own colours are kept where they already read, and the roles keep
// their hue (green stays green, red red, the greyed cells sit on the button face).
TEST(CellLook, EveryRoleReadsOnLightAndDarkThemes) {
  const ThemeColors light{{255, 255, 255}, {0, 0, 0}, {239, 239, 239}, {190, 190, 190}};
  const ThemeColors dark{{30, 30, 30}, {230, 230, 230}, {53, 53, 53}, {120, 120, 120}};
  EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
  EXPECT_EQ(ReadableOn(kActiveRgb, light.base), kActiveRgb);
  EXPECT_EQ(ReadableOn(kInactiveRgb, light.base), kInactiveRgb);
  for (const ThemeColors& theme : {light, dark}) {
    const bool isDark = &theme == &dark;
    for (const CellColor role : {CellColor::Black, CellColor::Active, CellColor::Inactive,
                                 CellColor::ButtonFace, CellColor::GreyText}) {
      for (const bool highlighted : {false, true}) {
        const CellLook look = LookOf(role, highlighted, theme);
        EXPECT_GE(ContrastRatio(look.text, look.background), kMinTextContrast)
            << isDark << " " << int(role) << " " << highlighted;
      }
    }
    const Rgb green = LookOf(CellColor::Active, false, theme).text;
    const Rgb red = LookOf(CellColor::Inactive, false, theme).text;
    EXPECT_TRUE(green.g > green.r + 60 && red.r > red.g + 60) << isDark;
    EXPECT_EQ(std::tuple(LookOf(CellColor::ButtonFace, false, theme).background,
                         LookOf(CellColor::Active, true, theme).background),
              std::tuple(theme.button, kSignalCellBackground));
    for (const TuneCellColor role :
         {TuneCellColor::Black, TuneCellColor::ButtonFace, TuneCellColor::Red}) {
      const CellLook look = TuneLookOf(role, theme);
      EXPECT_GE(ContrastRatio(look.text, look.background), kMinTextContrast) << int(role);
    }
    const Rgb mark = TuneLookOf(TuneCellColor::Red, theme).text;
    EXPECT_TRUE(mark.r > 150 && mark.g == mark.b && mark.r > mark.g + 100) << isDark;
  }
}

}  // namespace
}  // namespace qm
