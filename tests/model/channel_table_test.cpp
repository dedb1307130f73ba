#include "model/channel_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "base/grid_util.h"
#include "model/codecs.h"
#include "model/editor_fixture.h"
#include "model/signal_entry.h"

namespace qm {
namespace {

class ChannelTableTest : public test::EditorTest {
 protected:
  void SetUp() override {
    image = test::DefaultImage(app, 0);  // 400 MHz, 6.25 kHz family
    // Channel 3 with transmit inhibited, channel 5 off, channel 2 narrow / low / busy /
    // deleted from the scan list, channel 4 with signalling on both sides.
    image.channel(2)[7] &= 0xF7;
    image.channel(4)[2] &= 0xF7;
    image.channel(1)[10] = 0x35;
    image.channel(3)[2] = (image.channel(3)[2] & 0x0F) | 0x30;
    test::Put(image.channel(3), 3, {0x70, 0x06});
    image.channel(3)[7] = (image.channel(3)[7] & 0x0F) | 0x70;
    test::Put(image.channel(3), 8, {0xEC, 0x01});
    editors.DisplayRadioData(image);
  }
  const ChannelCell& c(int row, int col) { return grid().cell(row, col); }

  Image image;
};

TEST_F(ChannelTableTest, ShowsTheChannelAreaAsTexts) {
  // Every row shows its record's texts (the layout test's) in columns 1-8; the switches
  // colour them.
  for (int row = 1; row <= kChannelCount; ++row)
    for (int col = 1; col < kGridCols; ++col)
      EXPECT_EQ(c(row, col).text,
                ChannelTexts(DecodeChannel(image.row(16 * size_t(row - 1))), '.')[size_t(col - 1)])
          << row << "," << col;
  using enum CellColor;
  const std::pair<int, std::vector<CellColor>> cases[] = {
      {1, {Black, Black, Black, Black, Active, Inactive, Active, Active}},
      {2, {Black, Black, Black, Black, Inactive, Active, Inactive, Inactive}}};
  for (const auto& [row, colors] : cases)
    for (int col = 1; col < kGridCols; ++col)
      EXPECT_EQ(c(row, col).color, colors[size_t(col - 1)]) << row << "," << col;
  // Channel 16 of the defaults is off and inhibited.
  EXPECT_EQ(std::tuple(grid().channelOff(15), grid().txInhibited(15), ChannelRowHeader(16),
                       ChannelTableModel::getChGridIndex(2, 3)),
            std::tuple(true, true, "信道16", 21));
}

// A switched-off channel (5) locks every cell, an inhibited transmit (channel 3) only the
// transmit side's: grey, and presses, space and digits change nothing.
TEST_F(ChannelTableTest, LockedCellsAreGreyAndIgnorePressesAndKeys) {
  const std::pair<int, std::vector<int>> locked[] = {
      {5, {1, 2, 3, 4, 5, 6, 7, 8}},
      {3, {col::kTxFreq, col::kTxSignal, col::kBusyLock, col::kPower}}};
  for (const auto& [row, cols] : locked)
    for (int col : cols) {
      SCOPED_TRACE(testing::Message() << row << "," << col);
      const std::string before = c(row, col).text;
      EXPECT_EQ(c(row, col).color, CellColor::ButtonFace);
      EXPECT_EQ(grid().pressCell(row, col).action, GridAction::None);
      EXPECT_EQ(grid().keyPress(32).action, GridAction::None);
      EXPECT_EQ(grid().keyPress('4').action, GridAction::None);
      EXPECT_EQ(c(row, col).text, before);
    }
  EXPECT_EQ(std::tuple(grid().freqEditor().visible, flags.dataChanged, grid().txCheckEnabled(4)),
            std::tuple(false, false, false));
  EXPECT_FALSE(grid().clickTxInhibit(4).any());  // chkTx is disabled
  EXPECT_FALSE(grid().txInhibited(4));

  // The inhibited channel's other cells still work.
  grid().pressCell(3, col::kScan);
  grid().pressCell(3, col::kBandwidth);
  EXPECT_EQ(std::tuple(c(3, col::kScan).text, c(3, col::kBandwidth).text, flags.dataChanged),
            std::tuple("删除", "窄带", true));
  EXPECT_EQ(grid().pressCell(3, col::kRxFreq).action, GridAction::OpenFreqEditor);
  grid().editorEscape();
  EXPECT_EQ(grid().pressCell(3, col::kRxSignal).action, GridAction::OpenSignalDialog);
}

TEST_F(ChannelTableTest, EnterWalksAndTogglesCycleTheirTextsAndColours) {
  // The walk itself is GridNextCell's; here Enter takes it, over this grid's size.
  const std::pair<GridCell, GridCell> walks[] = {
      {{3, 7}, {3, 8}}, {{15, 8}, {16, 1}}, {{16, 8}, {16, 8}}};
  for (const auto& [from, to] : walks) {
    grid().setCurrentCell(from.row, from.col);
    grid().keyPress(13);
    EXPECT_EQ((GridCell{grid().currentRow(), grid().currentCol()}), to) << from.row;
  }
  EXPECT_FALSE(flags.dataChanged);

  using enum CellColor;
  using Shown = std::tuple<std::string, CellColor>;
  const std::tuple<int, Shown, Shown> cases[] = {
      // column, after one press, after two
      {col::kScan, {"删除", Inactive}, {"添加", Active}},
      {col::kBusyLock, {"打开", Active}, {"关闭", Inactive}},
      {col::kPower, {"低", Inactive}, {"高", Active}},
      {col::kBandwidth, {"窄带", Inactive}, {"宽带", Active}}};
  auto shown = [&](int col) { return Shown(c(1, col).text, c(1, col).color); };
  for (const auto& [col, first, second] : cases) {
    flags.dataChanged = false;
    GridPress p = grid().pressCell(1, col);
    EXPECT_EQ(std::tuple(p.action, bool(p.change.rows & (1u << 1)), shown(col), flags.dataChanged),
              std::tuple(GridAction::None, true, first, true));
    grid().pressCell(1, col);
    EXPECT_EQ(shown(col), second);
  }
  // Space on the current cell acts as a press.
  grid().setCurrentCell(1, col::kPower);
  grid().keyPress(32);
  EXPECT_EQ(c(1, col::kPower).text, "低");
}

TEST_F(ChannelTableTest, RadioWideNarrowGreysTheBandwidthColumn) {
  fns().choose(Fn::Bandwidth, 1);  // "窄带"
  EXPECT_TRUE(flags.functionsChanged);
  for (int row = 1; row <= 15; ++row)
    if (!grid().channelOff(row - 1)) {
      EXPECT_EQ(c(row, col::kBandwidth).color, CellColor::GreyText) << row;
    }
  EXPECT_EQ(c(5, col::kBandwidth).color, CellColor::ButtonFace);  // channel off stays
  EXPECT_EQ(c(16, col::kBandwidth).color, CellColor::ButtonFace);

  // A click now makes the cell narrow, in grey, whatever it showed, and keeps it so.
  auto shown = [&](int row) {
    return std::tuple(c(row, col::kBandwidth).text, c(row, col::kBandwidth).color);
  };
  grid().pressCell(1, col::kBandwidth);
  grid().pressCell(1, col::kBandwidth);
  EXPECT_EQ(shown(1), std::tuple("窄带", CellColor::GreyText));

  // Back to wide: colours from the texts again, texts unchanged.
  fns().choose(Fn::Bandwidth, 0);
  EXPECT_EQ(std::tuple(shown(1), shown(6)), std::tuple(std::tuple("窄带", CellColor::Inactive),
                                                       std::tuple("宽带", CellColor::Active)));

  // A row switched on while the radio is narrow comes up grey.
  fns().choose(Fn::Bandwidth, 1);
  grid().clickChannelOff(4);
  EXPECT_EQ(c(5, col::kBandwidth).color, CellColor::GreyText);
}

TEST_F(ChannelTableTest, CheckBoxesRecolourTheRow) {
  GridChange ch = grid().clickChannelOff(0);
  EXPECT_EQ(std::tuple(bool(ch.rows & (1u << 1)), grid().channelOff(0), grid().txCheckEnabled(0),
                       flags.dataChanged),
            std::tuple(true, true, false, true));
  for (int col = 1; col < kGridCols; ++col) EXPECT_EQ(c(1, col).color, CellColor::ButtonFace);
  grid().clickChannelOff(0);
  EXPECT_EQ(std::tuple(grid().txCheckEnabled(0), c(1, col::kRxFreq).color),
            std::tuple(true, CellColor::Black));

  flags.dataChanged = false;
  grid().clickTxInhibit(0);
  EXPECT_EQ(std::tuple(grid().txInhibited(0), flags.dataChanged, c(1, col::kScan).color),
            std::tuple(true, true, CellColor::Active));
  for (int col : {col::kTxFreq, col::kTxSignal, col::kBusyLock, col::kPower})
    EXPECT_EQ(c(1, col).color, CellColor::ButtonFace);
}

// "Tx<-Rx" links the transmit side to the receive side: shown ticked where they are equal,
// ticking copies, a receive edit is followed while ticked, a transmit edit of its own or
// unticking ends the link, leaving both sides as they are.
TEST_F(ChannelTableTest, TxEqRxLinksTheTransmitSide) {
  EXPECT_EQ(std::tuple(grid().txEqRx(0), grid().txEqRx(3)), std::tuple(true, false));
  struct Step {
    const char* what;
    std::function<void()> act;
    std::string txFreq, txSignal;
    bool linked;
  };
  const Step steps[] = {
      {"tick", [&] { grid().clickTxEqRx(3); }, "400.00000", "CTC 67.0", true},
      {"rx typed", [&] { grid().setCellText(4, col::kRxFreq, "401.00000"); }, "401.00000",
       "CTC 67.0", true},
      {"rx signal",
       [&] {
         grid().pressCell(4, col::kRxSignal);
         grid().finishSignalDialog("DCS 023");
       },
       "401.00000", "DCS 023", true},
      {"tx of its own", [&] { grid().setCellText(4, col::kTxFreq, "402.00000"); }, "402.00000",
       "DCS 023", false},
      {"rx alone", [&] { grid().setCellText(4, col::kRxFreq, "403.00000"); }, "402.00000",
       "DCS 023", false},
      {"tick again, untick", [&] { grid().clickTxEqRx(3), grid().clickTxEqRx(3); }, "403.00000",
       "DCS 023", false},
      {"rx after untick", [&] { grid().setCellText(4, col::kRxFreq, "404.00000"); }, "403.00000",
       "DCS 023", false},
  };
  for (const Step& st : steps) {
    flags.dataChanged = false;
    st.act();
    EXPECT_EQ(std::tuple(c(4, col::kTxFreq).text, c(4, col::kTxSignal).text, grid().txEqRx(3)),
              std::tuple(st.txFreq, st.txSignal, st.linked))
        << st.what;
  }
  // Nothing of the box is stored: the sides are, and a reload shows it from them.
  Image saved = image, unticked = image;
  grid().clickTxEqRx(3);
  grid().SaveChannels(saved);
  grid().clickTxEqRx(3);
  grid().SaveChannels(unticked);
  EXPECT_EQ(saved, unticked);
  grid().DisplayChannels(saved);
  EXPECT_TRUE(grid().txEqRx(3));
}

// A digit opens the editor with it; out of band, Enter ends at the band edge once, even when
// the message box takes the focus from the editor meanwhile.
TEST_F(ChannelTableTest, TypingADigitOutOfBandEndsAtTheBandEdge) {
  prompter.onAsk = [&] { grid().editorLostFocus(); };
  grid().setCurrentCell(1, col::kRxFreq);
  EXPECT_EQ(grid().keyPress('5').action, GridAction::OpenFreqEditor);
  const FreqEditorState& ed = grid().freqEditor();
  EXPECT_EQ(std::tuple(ed.visible, ed.text, ed.tag, ed.selStart, ed.selLength),
            std::tuple(true, "5", "400.00000", 1, 0));
  EXPECT_EQ(std::tuple(c(1, col::kRxFreq).text, flags.dataChanged), std::tuple("5", true));

  grid().editorEnter();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"频率超过范围！"});
  EXPECT_EQ(c(1, col::kRxFreq).text, "400.00000");  // extended band starts at 400 MHz
  EXPECT_EQ(std::tuple(grid().freqEditor().visible, grid().currentCol()),
            std::tuple(false, col::kRxSignal));

  // The signalling dialog's checks likewise.
  SignalEntry dlg(app, prompter);
  prompter.onAsk = [&] {
    dlg.validateTone();
    dlg.validateCode();
  };
  dlg.load("CTC 88.5");
  dlg.setToneText("");
  EXPECT_FALSE(dlg.validateTone());
  dlg.setCodeText("9");
  EXPECT_FALSE(dlg.validateCode());
  EXPECT_EQ(std::tuple(prompter.messages.size(), dlg.tone().text), std::tuple(3u, "88.5"));
}

TEST_F(ChannelTableTest, FrequencyEditorOpensValidatesUndoesAndFiltersKeys) {
  GridPress p = grid().pressCell(2, col::kTxFreq);
  EXPECT_EQ(p.action, GridAction::OpenFreqEditor);
  const FreqEditorState& ed = grid().freqEditor();
  EXPECT_EQ(std::tuple(ed.text, ed.selStart, ed.selLength), std::tuple("400.00000", 0, 9));
  EXPECT_FALSE(flags.dataChanged);  // opening is no edit

  grid().editorTextChanged("433.1");
  EXPECT_EQ(std::tuple(c(2, col::kTxFreq).text, flags.dataChanged), std::tuple("433.1", true));
  grid().editorEscape();
  EXPECT_EQ(std::tuple(c(2, col::kTxFreq).text, grid().freqEditor().visible),
            std::tuple("400.00000", false));

  // A value inside the band snaps to the raster; losing the focus validates too.
  grid().pressCell(2, col::kTxFreq);
  grid().editorTextChanged("433.1012");
  grid().editorLostFocus();
  EXPECT_EQ(std::tuple(c(2, col::kTxFreq).text, prompter.messages.size()),
            std::tuple("433.10000", 0u));

  // An unreadable entry silently goes back to the text the editor opened with.
  grid().pressCell(2, col::kTxFreq);
  grid().editorTextChanged("43.3.1");
  EXPECT_TRUE(grid().CommitPendingEdit());
  EXPECT_EQ(
      std::tuple(c(2, col::kTxFreq).text, prompter.messages.size(), grid().CommitPendingEdit()),
      std::tuple("433.10000", 0u, false));

  // Pressing another cell closes the editor first; the image's model byte chooses the
  // raster (0x20, the fixed-channel radio: only 6.25 kHz).
  identByte = 0x20;
  grid().pressCell(2, col::kRxFreq);
  grid().editorTextChanged("440.005");
  grid().pressCell(2, col::kScan);
  EXPECT_EQ(std::tuple(grid().freqEditor().visible, c(2, col::kRxFreq).text),
            std::tuple(false, "440.00625"));

  // The editor's key filter.
  app.decimalSep = ',';
  const std::pair<char32_t, std::optional<char>> keys[] = {
      {U'7', '7'}, {U'0', '0'}, {8, char(8)}, {U'.', ','},    {U',', ','},    {U'a', {}},
      {U' ', {}},  {U'-', {}},  {U'。', {}},  {13, char(13)}, {27, char(27)}, {3, char(3)}};
  for (const auto& [key, out] : keys) EXPECT_EQ(grid().filterEditorKey(key), out) << int(key);
}

TEST_F(ChannelTableTest, SignalDialogResult) {
  GridPress p = grid().pressCell(4, col::kRxSignal);
  EXPECT_EQ(std::tuple(p.action, p.signalText, c(4, col::kRxSignal).highlighted),
            std::tuple(GridAction::OpenSignalDialog, "CTC 67.0", true));
  EXPECT_EQ(grid().pressCell(1, col::kScan).action, GridAction::None);  // modal
  EXPECT_EQ(c(1, col::kScan).text, "添加");

  grid().finishSignalDialog(std::nullopt);  // cancelled
  EXPECT_EQ(
      std::tuple(c(4, col::kRxSignal).highlighted, c(4, col::kRxSignal).text, flags.dataChanged),
      std::tuple(false, "CTC 67.0", false));

  grid().pressCell(4, col::kRxSignal);
  grid().finishSignalDialog(std::string("CTC 67.0"));  // OK without a change
  ASSERT_FALSE(flags.dataChanged);
  grid().pressCell(4, col::kRxSignal);
  grid().finishSignalDialog(std::string("DCS 023"));
  EXPECT_EQ(std::tuple(c(4, col::kRxSignal).text, flags.dataChanged,
                       grid().signalDialogCell().has_value()),
            std::tuple("DCS 023", true, false));

  // A TTS cell through the dialog is stored as off.
  image.channel(0)[2] = (image.channel(0)[2] & 0x0F) | 0x80;
  image.channel(0)[3] = 5;
  grid().DisplayChannels(image);
  GridPress tts = grid().pressCell(1, col::kRxSignal);
  ASSERT_EQ(tts.signalText, "TTS 5");
  SignalEntry dlg(app, prompter);
  dlg.load(tts.signalText);
  grid().finishSignalDialog(dlg.ok());
  Image out = image;
  grid().SaveChannels(out);
  EXPECT_EQ(std::tuple(grid().cell(1, col::kRxSignal).text, out.channel(0)[2] & 0xF0,
                       out.channel(0)[3], out.channel(0).inUse()),
            std::tuple("", 0, 0, true));
}

// The bits no editor owns are RadioDataTest.AnyImageSurvivesDisplayAndCollect's.
TEST_F(ChannelTableTest, SaveRebuildsTheAreaFromTheTexts) {
  Image src = image;
  // 145.000 MHz stored in 5 kHz units (N = 29000): a multiple of 25 kHz.
  test::Put(src.channel(6), 0, {0x48, 0x71, 0x08});
  // A signalling type outside the table, with code bytes.
  src.channel(7)[7] = (src.channel(7)[7] & 0x0F) | 0x20;
  test::Put(src.channel(7), 8, {0x12, 0x34});

  grid().DisplayChannels(src);
  Image out = src;
  for (int ch = 0; ch < kChannelCount; ++ch)
    for (size_t b = 0; b < 11; ++b) out.channel(ch)[b] = 0;
  for (int ch = 0; ch < kChannelCount; ++ch) out.channel(ch)[10] = src.channel(ch)[10] & 0xCA;
  grid().SaveChannels(out);

  Image want = src;
  test::Put(want.channel(6), 0, {0xA0, 0x5A, 0x0C});  // N = 23200 in 6.25 kHz units
  want.channel(7)[7] &= 0x0F;
  test::Put(want.channel(7), 8, {0, 0});
  for (int ch = 0; ch < kChannelCount; ++ch)
    for (size_t b = 0; b < 16; ++b)
      EXPECT_EQ(out.channel(ch)[b], want.channel(ch)[b]) << "channel " << ch + 1 << " byte " << b;

  // Then the edited texts and check boxes.
  for (int col : {col::kScan, col::kBusyLock, col::kPower, col::kBandwidth})
    grid().pressCell(1, col);
  grid().clickTxInhibit(0);
  grid().clickChannelOff(1);
  grid().setCellText(1, col::kTxSignal, "DCS 023");
  grid().setCellText(1, col::kTxFreq, "433.00500");
  grid().SaveChannels(out);
  ChannelRecord r = out.channel(0);
  EXPECT_EQ(std::tuple(r[10] & 0x35, r.txAllowed(), r.inUse(), r[7] & 0xF0, r[8],
                       FreqBytesToText(r[5], r[6], r[7]), out.channel(1).inUse()),
            std::tuple(0x35, false, true, 0x50, 0x13, "433.00500", false));
}

}  // namespace
}  // namespace qm
