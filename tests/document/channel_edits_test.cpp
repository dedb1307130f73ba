#include "document/channel_edits.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "document/edit_history.h"
#include "files/chirp_csv.h"
#include "model/codecs.h"
#include "model/editor_fixture.h"

namespace qm {
namespace {

using namespace cell_text;
using test::Record;

class ChannelEditsTest : public test::EditorTest {
 protected:
  void SetUp() override {
    fns().BuildComboLists();
    // Channel 2 with carried bits and bytes the grid does not show.
    image.channel(1)[10] |= 0x82;
    image.channel(1)[13] = 0x5A;
    editors.DisplayRadioData(image);
  }
  Image Saved() const {
    Image out = image;
    editors.channels().SaveChannels(out);
    return out;
  }

  // The command just run was one undo step named `label`, and its undo gives `before` back.
  void ExpectOneStepBackTo(const Image& before, const char* label = "粘贴") {
    EXPECT_EQ(std::tuple(history.undoCount(), history.undoLabel()), std::tuple(1u, label));
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(Saved(), before);
  }

  Image image = test::DefaultImage(app, 0);
  EditHistory history{image, flags, editors};
};

TEST_F(ChannelEditsTest, PrivateClipRoundTripsRefusesDamageAndPastesExactly) {
  ChannelClip clip{7, {Record(image, 0), Record(image, 1)}};
  const std::vector<uint8_t> bytes = EncodeChannelClip(clip);
  EXPECT_EQ(DecodeChannelClip(bytes), clip);
  // Shorter, longer, another mark, another version (byte 8), another count (byte 11), empty.
  const std::function<void(std::vector<uint8_t>&)> breaks[] = {
      [](auto& b) { b.pop_back(); }, [](auto& b) { b.push_back(0); }, [](auto& b) { b[0] = 'X'; },
      [](auto& b) { b[8] = 2; },     [](auto& b) { b[11] = 17; },     [](auto& b) { b.clear(); }};
  for (size_t k = 0; k < std::size(breaks); ++k) {
    std::vector<uint8_t> b = bytes;
    breaks[k](b);
    EXPECT_FALSE(DecodeChannelClip(b).has_value()) << k;
  }

  // Pasted, the copied records come back exactly.
  grid().pressCell(1, col::kPower);
  const CopiedChannels copy = CopyChannels(grid(), image, app, {1, 0});
  EXPECT_EQ(copy.csv.rfind(kChirpHeader, 0), 0u);
  history.clear();
  const Image before = Saved();

  const PasteResult r = PasteChannels(grid(), image, app, 14, copy.clip, copy.csv);
  EXPECT_EQ(std::tuple(r.ok, r.pasted), std::tuple(true, 2));
  const Image after = Saved();
  EXPECT_EQ(std::tuple(Record(after, 14), Record(after, 15), after[addr::kChannels + 16 * 15 + 13]),
            std::tuple(Record(after, 0), Record(after, 1), 0x5A));
  ExpectOneStepBackTo(before);

  // From channel 16 only one fits, and the report says so.
  const PasteResult last = PasteChannels(grid(), image, app, 15, copy.clip, copy.csv);
  EXPECT_EQ(std::tuple(last.pasted, test::Report(last)),
            std::tuple(1, "还有1个信道没有粘贴：信道16之后没有信道"));
}

// Text rows fill from the chosen channel down, row k into channel first + k: a row that
// cannot be used keeps its channel as it was, and the report names channels.
TEST_F(ChannelEditsTest, TextPasteGoesThroughTheImportChecks) {
  const std::string header = std::string(kChirpHeader) + "\n";
  struct Case {
    const char* name;
    std::string text;
    int first;
    int pasted;          // 0: refused, nothing changes
    std::string rx;      // receive frequencies from the first channel on, "|" between; "" as before
    std::string report;  // the error, then the notes, a line each
  };
  const std::string row433 = "1,a,433.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25";
  const Case cases[] = {
      {"with header", header + row433 + ",,0.5W,,,,,,Off\n", 3, 1, "433.12500", ""},
      {"tabs, no header, short row", "5\tx\t440.000000\t\t\tTSQL\t88.5\t100.0\n", 0, 1, "440.00000",
       ""},
      {"too many rows", header + "1,a,433.1\n2,b,433.2\n3,c,433.3\n", 14, 2, "433.10000|433.20000",
       "还有1个信道没有粘贴：信道16之后没有信道"},
      {"band clamp noted", header + "1,a,480.8\n", 0, 1, "480.00000",
       "信道1：频率超过范围！接收频率480.800000 MHz改为480.00000 MHz\n"
       "信道1：频率超过范围！发射频率480.800000 MHz改为480.00000 MHz"},
      {"a skipped row keeps its place", header + "1,a,433.1\n2,b,145.0\n3,c,433.3\n", 4, 2,
       "433.10000||433.30000",
       "信道6：接收频率145.000000 MHz远在本机频率范围400-480 MHz之外，已跳过"},
      {"no header to fall short of", "1,a,433.1\nfoo\n", 0, 1, "433.10000|",
       "信道2：不是信道数据，已跳过"},
      {"no row fits the band", header + "1,a,145.0\n2,b,146.0\n", 0, 0, "|",
       "剪贴板中没有一行在本机频率范围400-480 MHz之内，没有粘贴。"},
      {"no usable row", "1,a,433.1,x\n", 0, 0, "",
       "剪贴板中没有可以粘贴的行，没有粘贴。\n信道1：无法识别的Duplex（x），已跳过"},
      {"not channel data", "hello world\nfoo", 0, 0, "", "剪贴板中的文字不是信道数据，没有粘贴。"},
      {"empty", "  \n", 0, 0, "", "剪贴板中没有信道数据，没有粘贴。"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    history.clear();
    const Image before = Saved();
    const ChannelTableModel::State shown = grid().state();
    const PasteResult r = PasteChannels(grid(), image, app, c.first, std::nullopt, c.text);
    EXPECT_EQ(std::tuple(r.ok, r.pasted, test::Report(r)),
              std::tuple(c.pasted > 0, c.pasted, c.report));
    std::string rx;  // in the form of the case: "" for a channel that kept its frequency
    const auto rows = c.rx.empty() ? 0 : std::count(c.rx.begin(), c.rx.end(), '|') + 1;
    for (int k = 0; k < rows; ++k) {
      const auto row = static_cast<size_t>(c.first + 1 + k);
      const std::string& now = grid().cell(c.first + 1 + k, col::kRxFreq).text;
      rx += (k ? "|" : "") + (now == shown.cells[row][col::kRxFreq].text ? "" : now);
    }
    EXPECT_EQ(rx, c.rx);
    if (c.pasted > 0) ExpectOneStepBackTo(before);
    EXPECT_EQ(std::tuple(history.undoCount(), Saved() == before), std::tuple(0u, true));
  }
}

// The text form leaves a switched-off row out; its Locations keep the other rows in their
// places and switch that channel off, as the private form does.
TEST_F(ChannelEditsTest, TextPasteKeepsThePlacesItsLocationsGive) {
  for (int i : {0, 1, 3, 4})
    grid().setCellText(i + 1, col::kRxFreq, "43" + std::to_string(i) + ".00000");
  grid().clickChannelOff(2);
  for (int ch = 8; ch < 13; ++ch)
    if (grid().channelOff(ch)) grid().clickChannelOff(ch);
  const CopiedChannels copy = CopyChannels(grid(), image, app, {0, 1, 2, 3, 4});
  auto pasted = [&](const std::optional<ChannelClip>& clip) {
    history.clear();
    EXPECT_TRUE(PasteChannels(grid(), image, app, 8, clip, copy.csv).ok);
    std::vector<std::tuple<std::string, bool>> rows;
    for (int ch = 8; ch < 13; ++ch)
      rows.emplace_back(grid().cell(ch + 1, col::kRxFreq).text, grid().channelOff(ch));
    history.undo();
    return rows;
  };
  const auto text = pasted(std::nullopt);
  EXPECT_EQ(text, pasted(copy.clip));
  EXPECT_EQ(std::tuple(std::get<0>(text[4]), std::get<1>(text[2]), std::get<1>(text[3])),
            std::tuple("434.00000", true, false));
}

// Copied under another model, row k of the copy still fills channel first + k: a
// switched-off row switches its channel off, a row that does not fit keeps its channel.
TEST_F(ChannelEditsTest, AClipFromAnotherModelKeepsRowsInPlaceAndChecksSignalling) {
  grid().clickChannelOff(2);
  grid().setCellText(5, col::kRxFreq, "145.00000");
  grid().clickTxInhibit(6);  // an inhibited side's frequency does not cost the row its place
  grid().setCellText(7, col::kTxFreq, "145.00000");
  grid().setCellText(8, col::kRxFreq, "433.02500");
  ChannelClip clip = CopyChannels(grid(), image, app, {0, 1, 2, 3, 4, 5, 6, 7}).clip;
  clip.modelCode = 8;
  history.clear();
  const Image before = Saved();
  const std::string kept = grid().cell(13, col::kRxFreq).text;

  const PasteResult r = PasteChannels(grid(), image, app, 8, clip, "");
  EXPECT_EQ(std::tuple(r.pasted, test::Report(r)),
            std::tuple(7, "信道13：接收频率145.000000 MHz远在本机频率范围400-480 MHz之外，已跳过"));
  auto rx = [&](int row) { return grid().cell(row, col::kRxFreq).text; };
  EXPECT_EQ(std::tuple(grid().channelOff(10), rx(12), rx(13), grid().txInhibited(14),
                       grid().cell(15, col::kTxFreq).text, rx(16)),
            std::tuple(true, rx(4), kept, true, rx(15), "433.02500"));
  ExpectOneStepBackTo(before);

  // Nothing fits: one sentence, nothing changes.
  clip.records = {clip.records[2], clip.records[4]};
  const PasteResult none = PasteChannels(grid(), image, app, 0, clip, "");
  EXPECT_EQ(std::tuple(test::Report(none), history.undoCount()),
            std::tuple("剪贴板中没有一行在本机频率范围400-480 MHz之内，没有粘贴。", 0u));
  EXPECT_EQ(Saved(), before);

  // A record's signalling goes through the signalling dialog's checks, as an imported row's
  // does, so that the grid shows what a save writes.
  struct Case {
    const char* name;
    size_t at;  // the side's type byte: 2 receive, 7 transmit
    uint8_t type, lo, hi;
    std::string cell;    // the side's cell after the paste; "" when nothing was pasted
    std::string report;  // the error, then the notes, a line each
  };
  const Case cases[] = {
      {"a sound tone", 7, 0x30, 0x85, 0x08, "CTC 88.5", ""},
      {"a tone past the list", 7, 0x30, 0xFF, 0xFF, "CTC 254.1",
       "信道1：发射CTC/DCS 466.5改为CTC 254.1"},
      {"a code below 023", 2, 0x50, 0x01, 0x00, "DCS 023", "信道1：接收CTC/DCS 001改为DCS 023"},
      {"an inverted code past 754", 2, 0x70, 0xFF, 0x01, "-DCS 754",
       "信道1：接收CTC/DCS 777改为-DCS 754"},
      {"TTS of more than one digit", 2, 0x80, 200, 0, "",
       "剪贴板中没有可以粘贴的行，没有粘贴。\n信道1：无法识别的接收CTC/DCS（TTS 200），已跳过"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::array<uint8_t, 16> rec = Record(image, 0);
    rec[c.at] = static_cast<uint8_t>((rec[c.at] & 0x0F) | c.type);
    rec[c.at + 1] = c.lo;
    rec[c.at + 2] = c.hi;
    history.clear();
    const Image start = Saved();
    EXPECT_EQ(test::Report(PasteChannels(grid(), image, app, 0, ChannelClip{10, {rec}}, "")),
              c.report);
    if (c.cell.empty()) {
      EXPECT_EQ(Saved(), start);
      continue;
    }
    EXPECT_EQ(grid().cell(1, c.at == 2 ? col::kRxSignal : col::kTxSignal).text, c.cell);
    const std::array<uint8_t, 16> saved = Record(Saved(), 0);
    EXPECT_EQ(SignalBytesToText(saved[c.at], saved[c.at + 1], saved[c.at + 2]), c.cell);
    history.undo();
  }
}

// One rounding for every way a frequency reaches a channel: typed in the grid, pasted,
// imported from a file and filled by step, each on the value as given.
TEST_F(ChannelEditsTest, EveryPathSnapsAFrequencyAsTheGridDoes) {
  const std::tuple<int, uint8_t, std::string, const char*> cases[] = {
      // model, ident, given, cell
      {0, 7, "446.00250001", "446.00500"},  // a hair nearer the 5 kHz step
      {0, 7, "446.0025", "446.00000"},      // a tie takes the 6.25 kHz count
      {2, 0x20, "446.0031251", "446.00625"},
      {2, 0x20, "446.003125", "446.00000"},  // half a step: the even count
      {2, 0x20, "446.0031249", "446.00000"}};
  for (const auto& [model, ident, given, cell] : cases) {
    SCOPED_TRACE(given);
    app.curModel = static_cast<int16_t>(model);
    identByte = ident;
    image.ident()[2] = ident;
    for (int row = 1; row <= 4; ++row) grid().setCellText(row, col::kRxFreq, "000.00000");
    grid().pressCell(1, col::kRxFreq);
    grid().editorTextChanged(given);
    grid().validateEditor();
    EXPECT_TRUE(PasteChannels(grid(), image, app, 1, std::nullopt, "2,a," + given).ok);
    ChirpImportOptions at3;
    at3.firstChannel = 2;
    EXPECT_TRUE(ImportChirpCsv("Location,Frequency\n1," + given, grid(), app, ident, at3).ok);
    BulkEdit fill;
    fill.fillFrom = given;
    EXPECT_TRUE(ApplyBulkEdit(grid(), app, ident, {3}, fill).ok);
    auto rx = [&](int row) { return grid().cell(row, col::kRxFreq).text; };
    EXPECT_EQ(std::tuple(rx(1), rx(2), rx(3), rx(4)), std::tuple(cell, cell, cell, cell))
        << "grid, paste, import, fill";
  }
}

// One copied row pasted on several chosen channels fills each of them, as one step; more rows
// fill from the first chosen channel down.
TEST_F(ChannelEditsTest, OneCopiedRowFillsEachChosenChannel) {
  const std::string header = std::string(kChirpHeader) + "\n";
  grid().setCellText(2, col::kRxFreq, "433.12500");
  const CopiedChannels copied = CopyChannels(grid(), image, app, {1});
  // What was pasted (a private record, or text), the channels it filled.
  const std::tuple<const char*, std::optional<ChannelClip>, std::string, std::vector<int>> cases[] =
      {{"a copied record", copied.clip, copied.csv, {2, 5, 9}},
       {"a text row under its header", std::nullopt, header + "1,a,433.125\n", {2, 5, 9}},
       {"a tab-separated row", std::nullopt, "1\ta\t433.125\n", {2, 5, 9}},
       {"two rows", std::nullopt, header + "1,a,433.125\n2,b,433.125\n", {2, 3}}};
  for (const auto& [name, clip, text, filled] : cases) {
    SCOPED_TRACE(name);
    history.clear();
    const Image before = Saved();
    const PasteResult r = PasteChannelsOnto(grid(), image, app, {9, 2, 5}, clip, text);
    ASSERT_EQ(std::tuple(r.ok, r.pasted), std::tuple(true, static_cast<int>(filled.size())));
    for (int ch = 2; ch < kChannelCount; ++ch) {
      const bool want = std::find(filled.begin(), filled.end(), ch) != filled.end();
      EXPECT_EQ(grid().cell(ch + 1, col::kRxFreq).text == "433.12500", want) << ch;
    }
    ExpectOneStepBackTo(before);
  }
}

// A fill step the raster cannot space evenly is refused before anything changes; a row
// the raster still moves (a start off the raster) is named.
TEST_F(ChannelEditsTest, FillStepsFitTheRasterAndBulkEditChangesOnlyCheckedFields) {
  struct Case {
    int model;
    uint8_t ident;
    const char* from;
    const char* step;
    std::string cells;   // channels 1-3, "|" between; empty: refused
    std::string report;  // the error, or the notes a line each
  };
  const Case cases[] = {
      {0, 7, "446.0", "2.5", "",
       "步进2.5 kHz不是5 kHz或6.25 kHz的整数倍，本机的信道频率无法按此步进等距排列"},
      {2, 0x20, "446.0", "10", "",
       "步进10 kHz不是6.25 kHz的整数倍，本机的信道频率无法按此步进等距排列"},
      {0, 7, "446.0", "5", "446.00000|446.00500|446.01000", ""},
      {0, 7, "446.005", "12.5", "446.00500|446.01875|446.03000",
       "信道2：446.017500 MHz不在本机的频率栅格上，改为446.01875 MHz"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " / " + c.step);
    app.curModel = static_cast<int16_t>(c.model);
    for (int row = 1; row <= 3; ++row) grid().setCellText(row, col::kRxFreq, "446.00000");
    history.clear();
    const ChannelTableModel::State before = grid().state();
    BulkEdit e;
    e.fillFrom = c.from;
    e.fillStepKhz = c.step;
    const BulkResult r = ApplyBulkEdit(grid(), app, c.ident, {0, 1, 2}, e);
    EXPECT_EQ(r.ok, !c.cells.empty());
    EXPECT_EQ(test::Report(r), c.report);
    std::string cells;
    if (!r.ok) {
      EXPECT_EQ(CheckBulkEdit(app, c.ident, e), r.error);
      EXPECT_EQ(std::tuple(grid().state() == before, history.undoCount()), std::tuple(true, 0u));
      continue;
    }
    for (int row = 1; row <= 3; ++row)
      cells += (row > 1 ? "|" : "") + grid().cell(row, col::kRxFreq).text;
    EXPECT_EQ(cells, c.cells);
  }

  // Only the checked fields change, through the grid's checks.
  grid().clickChannelOff(2);  // channel 3 off
  grid().clickTxInhibit(3);   // channel 4 transmit inhibited
  history.clear();
  BulkEdit e;
  e.fillFrom = "479.9875";
  e.fillStepKhz = "12,5";
  e.lowPower = true;
  e.rxSignal = "ctc 300";
  const std::string scanBefore = grid().cell(1, col::kScan).text;
  const BulkResult r = ApplyBulkEdit(grid(), app, identByte, {0, 1, 2, 3}, e);
  EXPECT_EQ(std::tuple(r.ok, r.changedRows), std::tuple(true, 3));
  auto text = [&](int row, int col) { return grid().cell(row, col).text; };
  EXPECT_EQ(std::tuple(text(1, col::kRxFreq), text(2, col::kRxFreq), text(1, col::kRxSignal),
                       text(1, col::kPower), text(1, col::kScan), text(4, col::kPower)),
            std::tuple("479.98750", "480.00000", "CTC 254.1", kPowerLow, scanBefore, kPowerHigh));
  const std::vector<std::string> notes = {"信道3已关闭，没有修改",
                                          "信道4：频率超过范围！（480.025000 MHz），频率没有修改",
                                          "信道4禁发，发射设置没有修改"};
  EXPECT_EQ(r.notes, notes);
  EXPECT_EQ(std::tuple(history.undoCount(), history.undoLabel()), std::tuple(1u, "批量修改"));

  // Inhibiting with transmit settings: the settings first, then the inhibit, as in the grid.
  BulkEdit inhibit;
  inhibit.txInhibit = true;
  inhibit.busyLock = true;
  const BulkResult ir = ApplyBulkEdit(grid(), app, identByte, {0, 3}, inhibit);
  EXPECT_TRUE(ir.notes.empty()) << ir.notes.front();
  for (int ch : {0, 3})
    EXPECT_EQ(std::tuple(grid().txInhibited(ch), grid().cell(ch + 1, col::kBusyLock).text),
              std::tuple(true, kLockOn))
        << ch;

  // While the radio is narrow the grid takes no wide channel; an unreadable value changes
  // nothing at all.
  fns().choose(Fn::Bandwidth, 1);
  BulkEdit wide;
  wide.narrow = false;
  EXPECT_EQ(ApplyBulkEdit(grid(), app, identByte, {0}, wide).notes,
            std::vector<std::string>{"信道1：整机带宽为窄带，信道带宽没有修改"});
  const size_t steps = history.undoCount();
  for (const char* bad : {"DCS 018", "TTS 5", "CTC"}) {
    BulkEdit b;
    b.txSignal = bad;
    b.scanDelete = true;
    const BulkResult br = ApplyBulkEdit(grid(), app, identByte, {0, 1}, b);
    EXPECT_EQ(std::tuple(br.ok, br.error.empty()), std::tuple(false, false)) << bad;
  }
  EXPECT_EQ(history.undoCount(), steps);
}

TEST(ChannelList, Parse) {
  EXPECT_EQ(ParseChannelList("1-8"), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(ParseChannelList(" 3, 1,2-3 ,16"), (std::vector<int>{0, 1, 2, 15}));
  const std::pair<const char*, const char*> bad[] = {
      {"", "信道号无法识别（），应为1-16"},     {"0", "信道号无法识别（0），应为1-16"},
      {"17", "信道号无法识别（17），应为1-16"}, {"a", "信道号无法识别（a），应为1-16"},
      {"1-", "信道号无法识别（1-），应为1-16"}, {"5-3", "信道范围5-3是倒序的，应写成3-5"},
      {"1,,2", "信道列表中有空项（1,,2）"},     {",1", "信道列表中有空项（,1）"},
      {"1,", "信道列表中有空项（1,）"}};
  for (const auto& [text, why] : bad) {
    std::string error;
    EXPECT_FALSE(ParseChannelList(text, &error).has_value()) << text;
    EXPECT_EQ(error, why);
  }
}

}  // namespace
}  // namespace qm
