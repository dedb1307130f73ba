#include "document/channel_edits.h"

#include <gtest/gtest.h>

#include "document/edit_history.h"
#include "files/chirp_csv.h"
#include "model/editor_fixture.h"

namespace qm {
namespace {

using namespace cell_text;

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
  std::array<uint8_t, 16> Record(const Image& img, int ch) const {
    std::array<uint8_t, 16> r{};
    for (size_t b = 0; b < 16; ++b) r[b] = img[addr::kChannels + 16 * static_cast<size_t>(ch) + b];
    return r;
  }

  Image image = test::DefaultImage(app, 0);
  EditHistory history{image, flags, editors};
};

TEST_F(ChannelEditsTest, ClipRoundTripAndRejects) {
  ChannelClip clip{7, {Record(image, 0), Record(image, 1)}};
  const std::vector<uint8_t> bytes = EncodeChannelClip(clip);
  EXPECT_EQ(DecodeChannelClip(bytes), clip);
  auto broken = [&](auto change) {
    std::vector<uint8_t> b = bytes;
    change(b);
    return DecodeChannelClip(b).has_value();
  };
  EXPECT_FALSE(broken([](auto& b) { b.pop_back(); }));
  EXPECT_FALSE(broken([](auto& b) { b.push_back(0); }));
  EXPECT_FALSE(broken([](auto& b) { b[0] = 'X'; }));
  EXPECT_FALSE(broken([](auto& b) { b[8] = 2; }));    // version
  EXPECT_FALSE(broken([](auto& b) { b[11] = 17; }));  // count
  EXPECT_FALSE(DecodeChannelClip({}).has_value());
}

TEST_F(ChannelEditsTest, PrivatePasteGivesTheCopiedRecordsExactly) {
  grid().pressCell(1, col::kPower);
  const CopiedChannels copy = CopyChannels(grid(), image, app, {1, 0});
  ASSERT_EQ(copy.clip.records.size(), 2u);
  EXPECT_EQ(copy.csv.rfind(kChirpHeader, 0), 0u);
  history.clear();
  const Image before = Saved();

  const PasteResult r = PasteChannels(grid(), image, app, 14, copy.clip, copy.csv);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.pasted, 2);
  const Image after = Saved();
  EXPECT_EQ(Record(after, 14), Record(after, 0));
  EXPECT_EQ(Record(after, 15), Record(after, 1));
  EXPECT_EQ(after[addr::kChannels + 16 * 15 + 13], 0x5A);
  EXPECT_EQ(history.undoCount(), 1u);
  EXPECT_EQ(history.undoLabel(), "粘贴");
  ASSERT_TRUE(history.undo());
  EXPECT_EQ(Saved(), before);

  // From channel 16 only one fits, and the report says so.
  const PasteResult last = PasteChannels(grid(), image, app, 15, copy.clip, copy.csv);
  EXPECT_EQ(last.pasted, 1);
  ASSERT_EQ(last.notes.size(), 1u);
  EXPECT_EQ(last.notes[0], "还有1个信道没有粘贴：信道16之后没有信道");
}

TEST_F(ChannelEditsTest, TextPasteGoesThroughTheImportChecks) {
  const std::string header = std::string(kChirpHeader) + "\n";
  struct Case {
    const char* name;
    std::string text;
    int first;
    bool ok;
    int pasted;
    std::string rx;  // receive frequency of the first channel filled
    size_t notes;
  };
  const std::vector<Case> cases = {
      {"with header",
       header + "1,a,433.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,"
                "6.25,,0.5W,,,,,,Off\n",
       3, true, 1, "433.12500", 0},
      {"tabs, no header, short row", "5\tx\t440.000000\t\t\tTSQL\t88.5\t100.0\n", 0, true, 1,
       "440.00000", 0},
      {"too many rows", header + "1,a,433.1\n2,b,433.2\n3,c,433.3\n", 14, true, 2, "433.10000", 1},
      {"band clamp noted", header + "1,a,480.8\n", 0, true, 1, "480.00000", 2},
      {"not channel data", "hello world\nfoo", 0, false, 0, "", 2},
      {"empty", "  \n", 0, false, 0, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    history.clear();
    const Image before = Saved();
    const PasteResult r = PasteChannels(grid(), image, app, c.first, std::nullopt, c.text);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.pasted, c.pasted);
    EXPECT_EQ(r.notes.size(), c.notes);
    if (c.ok) {
      EXPECT_EQ(grid().cell(c.first + 1, col::kRxFreq).text, c.rx);
      EXPECT_EQ(history.undoLabel(), "粘贴");
      history.undo();
    } else {
      EXPECT_FALSE(r.error.empty());
      EXPECT_EQ(history.undoCount(), 0u);
    }
    EXPECT_EQ(Saved(), before);
  }
  // A clip copied under another model goes through the checks of its text form.
  const CopiedChannels copy = CopyChannels(grid(), image, app, {0});
  ChannelClip other = copy.clip;
  other.modelCode = 10;
  EXPECT_EQ(PasteChannels(grid(), image, app, 5, other, "").error,
            "剪贴板中没有信道数据，没有粘贴。");
}

// One copied row pasted on several chosen channels fills each of them, as one step; more rows
// fill from the first chosen channel down.
TEST_F(ChannelEditsTest, OneCopiedRowFillsEachChosenChannel) {
  const std::string header = std::string(kChirpHeader) + "\n";
  grid().setCellText(2, col::kRxFreq, "433.12500");
  const CopiedChannels copied = CopyChannels(grid(), image, app, {1});
  struct Case {
    const char* name;
    std::optional<ChannelClip> clip;
    std::string text;
    std::vector<int> filled;
  };
  const std::vector<Case> cases = {
      {"a copied record", copied.clip, copied.csv, {2, 5, 9}},
      {"a text row under its header", std::nullopt, header + "1,a,433.125\n", {2, 5, 9}},
      {"a tab-separated row", std::nullopt, "1\ta\t433.125\n", {2, 5, 9}},
      {"two rows", std::nullopt, header + "1,a,433.125\n2,b,433.125\n", {2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    history.clear();
    const Image before = Saved();
    const PasteResult r = PasteChannelsOnto(grid(), image, app, {9, 2, 5}, c.clip, c.text);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.pasted, static_cast<int>(c.filled.size()));
    for (int ch = 2; ch < kChannelCount; ++ch) {
      const bool filled = std::find(c.filled.begin(), c.filled.end(), ch) != c.filled.end();
      EXPECT_EQ(grid().cell(ch + 1, col::kRxFreq).text == "433.12500", filled) << ch;
    }
    EXPECT_EQ(history.undoCount(), 1u);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(Saved(), before);
  }
}

TEST_F(ChannelEditsTest, BulkEditChangesOnlyCheckedFieldsThroughTheGridChecks) {
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
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.changedRows, 3);
  EXPECT_EQ(grid().cell(1, col::kRxFreq).text, "479.98750");
  EXPECT_EQ(grid().cell(2, col::kRxFreq).text, "480.00000");
  EXPECT_EQ(grid().cell(1, col::kRxSignal).text, "CTC 254.1");
  EXPECT_EQ(grid().cell(1, col::kPower).text, kPowerLow);
  EXPECT_EQ(grid().cell(1, col::kScan).text, scanBefore);
  EXPECT_EQ(grid().cell(4, col::kPower).text, kPowerHigh);
  const std::vector<std::string> notes = {
      "信道3已关闭，没有修改",
      "信道4：频率超过范围！（480.025000 MHz），频率没有修改",
      "信道4禁发，发射设置没有修改",
  };
  EXPECT_EQ(r.notes, notes);
  EXPECT_EQ(history.undoCount(), 1u);
  EXPECT_EQ(history.undoLabel(), "批量修改");

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
    EXPECT_FALSE(br.ok) << bad;
    EXPECT_FALSE(br.error.empty()) << bad;
  }
  EXPECT_EQ(history.undoCount(), steps);
}

TEST(ChannelList, Parse) {
  EXPECT_EQ(ParseChannelList("1-8"), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(ParseChannelList(" 3, 1,2-3 ,16"), (std::vector<int>{0, 1, 2, 15}));
  for (const char* bad : {"", "0", "17", "3-1", "1,,2", "a", "1-", "100"})
    EXPECT_FALSE(ParseChannelList(bad).has_value()) << bad;
}

}  // namespace
}  // namespace qm
