#include "document/edit_history.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "model/editor_fixture.h"

namespace qm {
namespace {

class EditHistoryTest : public test::EditorTest {
 protected:
  void SetUp() override {
    fns().BuildComboLists();
    editors.DisplayRadioData(image);
    tune.SetDefaultTuneChannels(image);
    history.attachTune(tune);
  }

  // The image the editors would collect, and the flags: what undo must give back.
  std::pair<Image, EditFlags> Collected() const {
    Image out = image;
    editors.functions().StoreFunctions(out.functions());
    editors.channels().SaveChannels(out);
    tune.PackTuneGrid(out);
    return {out, flags};
  }

  void TypeFreq(int row, int col, const std::string& text) {
    grid().pressCell(row, col);
    grid().editorTextChanged(text);
    grid().editorEnter();
  }

  // One random user edit of any kind the window offers.
  void RandomEdit(std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int row = 1 + pick(kChannelCount);
    const std::function<void()> edits[] = {
        [&] { grid().pressCell(row, col::kScan + pick(4)); },
        [&] { grid().clickChannelOff(row - 1); },
        [&] { grid().clickTxInhibit(row - 1); },
        [&] {
          TypeFreq(row, pick(2) ? col::kRxFreq : col::kTxFreq,
                   std::to_string(400 + pick(90)) + "." + std::to_string(pick(99999)));
        },
        [&] {
          grid().pressCell(row, pick(2) ? col::kRxSignal : col::kTxSignal);
          grid().finishSignalDialog(pick(2) ? "CTC 88.5" : "-DCS 754");
        },
        [&] {
          const auto fn = static_cast<Fn>(pick(kFunctionListCount));
          fns().choose(fn, pick(std::max(1, fns().list(fn).count())));
        },
        [&] { tune.clickChannelOff(pick(kTuneChannelCount)); },
        [&] { tune.pressCell(1 + pick(kTuneChannelCount), tunecol::kRxStep); },
        [&] { grid().clickTxEqRx(row - 1); }};
    edits[pick(std::size(edits))]();
  }

  Image image = test::DefaultImage(app, 0);
  uint8_t modelByte = 0;
  int16_t curTuneChannel = 0;
  TuneTableModel tune{app, flags, prompter, modelByte, curTuneChannel};
  EditHistory history{image, flags, editors};
};

TEST_F(EditHistoryTest, RandomEditsUndoToTheStartAndRedoToTheEnd) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    history.clear();
    std::vector<std::pair<Image, EditFlags>> states = {Collected()};
    for (int k = 0; k < 60; ++k) {
      const size_t steps = history.undoCount();
      RandomEdit(rng);
      // A step is recorded exactly when the data changed.
      if (history.undoCount() > steps)
        states.push_back(Collected());
      else
        EXPECT_EQ(Collected().first, states.back().first) << k;
    }
    ASSERT_GT(states.size(), 30u);
    for (size_t k = states.size() - 1; k > 0; --k) {
      ASSERT_TRUE(history.undo());
      EXPECT_EQ(Collected(), states[k - 1]) << k;
    }
    EXPECT_FALSE(history.undo());
    for (size_t k = 1; k < states.size(); ++k) {
      ASSERT_TRUE(history.redo());
      EXPECT_EQ(Collected(), states[k]) << k;
    }
    EXPECT_FALSE(history.redo());
  }
}

// What each step undoes and redoes is RandomEditsUndoToTheStartAndRedoToTheEnd's; here its name.
TEST_F(EditHistoryTest, EachEditIsOneNamedStepInPlaceEditsCloseWithTheEditor) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"修改信道3接收频率", [&] { TypeFreq(3, col::kRxFreq, "433.125"); }},
      {"修改信道2发射功率", [&] { grid().pressCell(2, col::kPower); }},
      {"关闭信道5", [&] { grid().clickChannelOff(4); }},
      {"修改信道6禁发", [&] { grid().clickTxInhibit(5); }},
      {"修改信道7Tx<-Rx", [&] { grid().clickTxEqRx(6); }},
      {"修改信道1发射CTC/DCS",
       [&] {
         grid().pressCell(1, col::kTxSignal);
         grid().finishSignalDialog("DCS 023");
       }},
      // The power key drags the monitor list along: still one step, named by the choice.
      {"修改功率选择", [&] { fns().choose(Fn::PowerKey, 2); }},
      {"修改带宽", [&] { fns().choose(Fn::Bandwidth, 1); }},
      {"打开调测信道2", [&] { tune.clickChannelOff(1); }},
      {"修改调测信道2接收步进", [&] { tune.pressCell(2, tunecol::kRxStep); }}};
  for (const auto& [label, edit] : cases) {
    edit();
    EXPECT_EQ(history.undoLabel(), label);
  }
  EXPECT_EQ(history.undoCount(), std::size(cases));

  history.clear();
  // Typing is not a step until the editor closes; a press on another frequency cell
  // closes the first edit and opens the second.
  grid().pressCell(1, col::kRxFreq);
  grid().editorTextChanged("433.1");
  EXPECT_EQ(history.undoCount(), 0u);
  grid().pressCell(2, col::kRxFreq);
  EXPECT_EQ(history.undoCount(), 1u);
  grid().editorTextChanged("45");
  grid().editorEscape();  // back to the text it had: nothing to undo
  EXPECT_EQ(history.undoCount(), 1u);
  // The signalling dialog: cancelled, no step.
  grid().pressCell(4, col::kRxSignal);
  grid().finishSignalDialog(std::nullopt);
  EXPECT_EQ(history.undoCount(), 1u);
  // A choice of the entry already shown sets the flag but changes nothing to undo.
  fns().choose(Fn::Squelch, fns().position(Fn::Squelch));
  EXPECT_EQ(history.undoCount(), 1u);
  // A new edit after an undo drops what could be redone.
  ASSERT_TRUE(history.undo());
  EXPECT_TRUE(history.canRedo());
  grid().pressCell(9, col::kScan);
  EXPECT_FALSE(history.canRedo());

  // Undo puts back only the image bytes of its step.
  {
    NamedEdit step(&history, "粘贴");
    image[addr::kChannels + 11] = 0x5A;  // a carried byte of channel 1
    grid().clickChannelOff(2);
  }
  EXPECT_EQ(history.undoLabel(), "粘贴");
  image[addr::kEmbedText] = 0x41;  // read from the radio since
  ASSERT_TRUE(history.undo());
  EXPECT_EQ(std::tuple(image[addr::kChannels + 11], image[addr::kEmbedText], grid().channelOff(2)),
            std::tuple(0x00, 0x41, false));
}

}  // namespace
}  // namespace qm
