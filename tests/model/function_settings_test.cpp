#include "model/function_settings.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "model/editor_fixture.h"

namespace qm {
namespace {

class FunctionSettingsTest : public test::EditorTest {
 protected:
  void SetUp() override {
    prompter.clear();
    std::copy(kDefaultFunctionBlock.begin(), kDefaultFunctionBlock.end(), block.begin());
    fns().LoadFunctions(ConstRow(block));
    ASSERT_TRUE(prompter.messages.empty());
    flags = {};  // loading alone runs the click handlers; the display restores the flags
  }
  void Load() { fns().LoadFunctions(ConstRow(block)); }
  std::array<uint8_t, 16> Store() {
    std::array<uint8_t, 16> out = block;
    fns().StoreFunctions(Row(out));
    return out;
  }

  std::array<uint8_t, 16> block{};
};

TEST_F(FunctionSettingsTest, ListsAsTheWindowHoldsThem) {
  const std::tuple<Fn, int, const char*, const char*> cases[] = {
      // count, first, last
      {Fn::TxTimeout, 12, "10分钟", "无限制"},
      {Fn::PreAlert, 256, "关闭", "255秒"},
      {Fn::TotRekey, 61, "关闭", "60秒"},
      {Fn::TotReset, 16, "关闭", "15秒"},
      {Fn::Squelch, 10, "0", "9"},
      {Fn::Priority, 16, "关闭", "信道15"},
      {Fn::LookBack, 48, "0.3秒", "5.0秒"},
      {Fn::ScanHang, 10, "0.5秒", "5.0秒"},
      {Fn::Revert, 4, "最近接收呼叫信道", "优先信道"},
      {Fn::PowerKey, 3, "无", "长按[MONI]键"},
      {Fn::ScanMode, 3, "关闭", "时间"},
      {Fn::Bandwidth, 2, "宽带", "窄带"},
      {Fn::Monitor, 4, "关闭监听功能", "暂态有条件监听"}};
  for (const auto& [fn, count, first, last] : cases) {
    const ComboModel& l = fns().list(fn);
    ASSERT_EQ(l.count(), count) << first;
    EXPECT_EQ(std::tuple(l.item(0), l.item(count - 1)), std::tuple(first, last));
  }
  EXPECT_EQ(std::tuple(fns().list(Fn::TxTimeout).item(9), fns().list(Fn::LookBack).item(17),
                       FunctionListItems(Fn::ScanHang, ',')[0]),
            std::tuple("270秒", "2.0秒", "0,5秒"));
}

TEST_F(FunctionSettingsTest, DefaultBlockSelections) {
  const std::vector<std::pair<Fn, std::string>> shown = {
      {Fn::TxTimeout, "60秒"},         {Fn::ScanMode, "载波"},  {Fn::Revert, "第一个扫描信道"},
      {Fn::LookBack, "0.5秒"},         {Fn::ScanHang, "3.0秒"}, {Fn::PowerKey, "短按[MONI]键"},
      {Fn::Monitor, "暂态有条件监听"}, {Fn::Squelch, "5"},      {Fn::KeyBeep, "打开"},
      {Fn::BatterySave, "打开"},       {Fn::Bandwidth, "宽带"}, {Fn::ManualMode, "关闭"}};
  for (const auto& [fn, text] : shown) EXPECT_EQ(fns().text(fn), text) << FunctionInfo(fn).label;
  EXPECT_EQ(Store(), kDefaultFunctionBlock);
}

TEST_F(FunctionSettingsTest, LoadChecks) {
  constexpr int kKept = -99;  // the selection of the default block stays
  struct Case {
    size_t byte;
    uint8_t value;
    Fn fn;
    int position;         // kKept: unchanged
    const char* message;  // nullptr: none
    bool red;
  };
  const std::vector<Case> cases = {
      {7, 0x27, Fn::TxTimeout, 9, nullptr, false},
      {7, 0x31, Fn::TxTimeout, kKept, "发射限时错误！", false},
      {7, 0xFF, Fn::TxTimeout, 11, nullptr, false},
      {7, 0x30, Fn::TxTimeout, 10, nullptr, false},  // the last step
      {7, 0x10, Fn::TxTimeout, kKept, "发射限时错误！", false},
      {6, 0x00, Fn::ScanHang, -1, nullptr, false},
      {6, 0x07, Fn::ScanHang, 0, "扫描停留时间错误！", false},  // the selection clears the red
      {6, 0x50, Fn::ScanHang, 9, nullptr, false},
      {6, 0x55, Fn::ScanHang, kKept, "扫描停留时间错误！", true},  // position 10: beyond
      {3, 0x02, Fn::LookBack, -1, "回扫周期错误！", true},
      {3, 0x00, Fn::LookBack, kKept, "回扫周期错误！", true},
      {3, 0x50, Fn::LookBack, 47, nullptr, false},
      {3, 0x51, Fn::LookBack, kKept, "回扫周期错误！", true},  // position 48: beyond
      {14, 0x60, Fn::TotRekey, 60, nullptr, false},
      {14, 0x61, Fn::TotRekey, kKept, "TOT再按键时间错误！", true},
      {14, 0x5A, Fn::TotRekey, kKept, nullptr, false},  // not BCD, within bounds
      {15, 0x15, Fn::TotReset, 15, nullptr, false},
      {15, 0x16, Fn::TotReset, kKept, "TOT复位时间错误！", true},
      {11, 9, Fn::Squelch, 9, nullptr, false},
      {11, 10, Fn::Squelch, kKept, "静噪等级错误！", true},
      {2, 0x15, Fn::Priority, 15, nullptr, false},
      {2, 0x16, Fn::Priority, kKept, "优先信道错误！", true},
      {2, 0x0A, Fn::Priority, kKept, nullptr, false},
      {1, 0x00, Fn::Revert, -1, "回复信道错误！", true},
      {1, 0x05, Fn::Revert, kKept, "回复信道错误！", true},
      {1, 0xF9, Fn::Revert, 0, nullptr, false},  // bits 7-3 are not part of it
      {0, 0x70, Fn::ScanMode, 2, nullptr, false},
      {0, 0x78, Fn::ScanMode, kKept, nullptr, false},  // value 3: beyond the list
      {4, 0x03, Fn::PowerKey, kKept, nullptr, false},
      {0, 0x80, Fn::Monitor, 0, nullptr, false},  // monitor modes 4 and 7 have no entry
      {0, 0xE0, Fn::Monitor, 0, nullptr, false}};
  for (const Case& c : cases) {
    SetUp();
    const int before = fns().position(c.fn);
    prompter.clear();
    block[c.byte] = c.value;
    Load();
    const std::string what = std::string(FunctionInfo(c.fn).label) + " byte " +
                             std::to_string(c.byte) + " = " + std::to_string(c.value);
    EXPECT_EQ(fns().position(c.fn), c.position == kKept ? before : c.position) << what;
    EXPECT_EQ(test::Boxes(prompter),
              c.message ? test::BoxList{test::Box({"QM830K", c.message})} : test::BoxList{})
        << what;
    EXPECT_EQ(fns().rejected(c.fn), c.red) << what;
  }
}

TEST_F(FunctionSettingsTest, ChoicesClearMarksSetTheirFlagAndFollowThePowerKey) {
  block[11] = 12;
  block[2] = 0x30;
  Load();  // that a good value loaded later clears the mark too is LoadChecks'
  fns().choose(Fn::Squelch, 3);
  EXPECT_EQ(std::tuple(fns().rejected(Fn::Squelch), fns().rejected(Fn::Priority)),
            std::tuple(false, true));

  // Each choice sets its own flag; one beyond the list changes nothing.
  const std::tuple<Fn, int, EditFlags> cases[] = {{Fn::Squelch, 2, {false, true, false}},
                                                  {Fn::Priority, 2, {true, false, false}},
                                                  {Fn::Priority, 16, {}},  // beyond the list
                                                  {Fn::Priority, -1, {}}};
  for (const auto& [fn, position, want] : cases) {
    flags = {};
    const bool changes = fns().choose(fn, position).any();
    EXPECT_FALSE(changes && want == EditFlags{}) << position;  // nothing chosen, nothing to redraw
    EXPECT_EQ(flags, want) << position;
  }

  // The long-press key hides the momentary monitor modes. Monitor mode 1 with that key: the
  // list lacks the mode, the first entry shows.
  SetUp();
  block[0] = 0x28;
  block[4] = 2;
  Load();
  EXPECT_EQ(
      std::tuple(fns().list(Fn::Monitor).items(), fns().text(Fn::Monitor), Store()[0] >> 5),
      std::tuple(std::vector<std::string>{"关闭监听功能", "稳态无条件监听"}, "关闭监听功能", 0));

  // Back to the short press: four entries in the fixed order, the selection kept.
  fns().choose(Fn::Monitor, 1);
  FunctionChange ch = fns().choose(Fn::PowerKey, 1);
  EXPECT_EQ(std::tuple(ch.focusMonitor, fns().list(Fn::Monitor).items(), fns().text(Fn::Monitor)),
            std::tuple(true, MonitorListItems(true), "稳态无条件监听"));

  const std::pair<const char*, const char*> monitors[] = {// selected, shown after the long press
                                                          {"暂态有条件监听", "关闭监听功能"},
                                                          {"暂态无条件监听", "关闭监听功能"},
                                                          {"稳态无条件监听", "稳态无条件监听"},
                                                          {"关闭监听功能", "关闭监听功能"}};
  for (const auto& [selected, after] : monitors) {
    fns().choose(Fn::PowerKey, 0);
    fns().choose(Fn::Monitor, fns().list(Fn::Monitor).find(selected));
    fns().choose(Fn::PowerKey, 2);
    EXPECT_EQ(std::tuple(fns().list(Fn::Monitor).count(), fns().text(Fn::Monitor)),
              std::tuple(2, after))
        << selected;
  }
  // Choosing the long press again changes nothing more.
  fns().choose(Fn::PowerKey, 2);
  EXPECT_EQ(fns().list(Fn::Monitor).count(), 2);
}

TEST_F(FunctionSettingsTest, StoreWritesEachFieldAndKeepsTheOtherBits) {
  block = {0x05, 0xF8, 0x00, 0x05, 0x01, 0xAB, 0x30, 0x06,
           0x12, 0x34, 0x56, 0x05, 0xD4, 0x00, 0x00, 0x00};
  Load();
  const std::pair<Fn, int> choices[] = {
      {Fn::Priority, 15},  {Fn::TotRekey, 12},  {Fn::TotReset, 9}, {Fn::TxTimeout, 11},
      {Fn::PreAlert, 200}, {Fn::ScanMode, 2},   {Fn::Revert, 3},   {Fn::LookBack, 47},
      {Fn::ScanHang, 0},   {Fn::Monitor, 2},    {Fn::KeyBeep, 1},  {Fn::BatterySave, 1},
      {Fn::Bandwidth, 1},  {Fn::ManualMode, 1}, {Fn::Squelch, 9},  {Fn::PowerKey, 2}};
  for (const auto& [fn, position] : choices) fns().choose(fn, position);
  // Byte 0 keeps the steady monitor mode through the long press; 5, 8-10 and the top bits
  // of 1 and 12 are not the lists'.
  EXPECT_EQ(Store(),
            (std::array<uint8_t, 16>{0x05 | (2 << 3) | (2 << 5), 0xFC, 0x15, 0x50, 0x02, 0xAB, 0x05,
                                     0xFF, 0x12, 0x34, 0x56, 9, 0xD4 | 0x2B, 200, 0x12, 0x09}));

  fns().choose(Fn::Priority, 0);
  fns().choose(Fn::TxTimeout, 4);
  EXPECT_EQ(std::tuple(Store()[2], Store()[7]), std::tuple(0x00, 0x12));

  // Positions with nothing selected store back what was loaded.
  block[3] = 0x02;  // look-back: nothing selected
  block[6] = 0x00;  // hang time: nothing selected
  block[1] = 0xF8;  // revert channel 0: nothing selected
  Load();
  EXPECT_EQ(Store(), block);
}

}  // namespace
}  // namespace qm
