#include "tune/tune_controller.h"

#include <gtest/gtest.h>

#include "base/model_table.h"
#include "document/document.h"
#include "files/data_file.h"
#include "files/profile.h"
#include "model/codecs.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_prompter.h"
#include "support/gbk_codec.h"
#include "support/scratch_dir.h"
#include "tune/tune_rig.h"

namespace qm {
namespace {

using test::TuneRig;

// A radio with tune channels 2 and 5 switched on and known item values, entered.
void Enter(TuneRig& rig, uint8_t verMajor = 2) {
  rig.radio().verMajor = verMajor;
  rig.radio().modelCode = 2;
  test::PutTuneChannel(rig.mem(), 1, 450.0, 0x30, 0x70, 0x06);
  test::PutTuneChannel(rig.mem(), 4, 440.0125, 0x50, 0x13, 0x00);
  for (size_t i = 0; i < 7; ++i) rig.mem()[0x2F0 + i] = static_cast<uint8_t>(0x20 + i);
  ASSERT_TRUE(rig.ctl.EnterTuneMode());
  rig.clearWrites();
}
struct Entered : TuneRig {
  explicit Entered(uint8_t verMajor = 2) { Enter(*this, verMajor); }
};

TEST(TuneController, EnteringShowsTheTuneView) {
  TuneRig rig;
  rig.flags.tuneDataChanged = true;
  int modelInfo = 0;
  rig.ctl.hooks.showModelInfo = [&] { ++modelInfo; };
  Enter(rig);
  // Model byte 1: the model whose code the radio reported; the selection stays.
  EXPECT_EQ(std::tuple(rig.tuneState, rig.viewMode, rig.tuneGridShown, rig.flags.tuneDataChanged,
                       rig.curTuneChannel, rig.modelByte, rig.app.curModel, modelInfo),
            std::tuple(TuneState::Entered, ViewMode::Tune, true, false, 2, 1, 0, 1));
  EXPECT_EQ(rig.caption, "正在调测－QM830K编程软件");
  EXPECT_EQ(rig.statusBand, StatusBandPanel(BuildBandText(rig.app, 1)));
  const TuneView& v = rig.ctl.view();
  EXPECT_TRUE(v.treeVisible && v.tableVisible && v.tuneChecked);
  EXPECT_FALSE(v.itemVisible || v.channelPanelsVisible || v.narrowNodesGrey || v.channelChecked ||
               v.editMenusShown);
  // The table shows what was read, with channel 2 selected.
  const TuneTableModel& t = rig.ctl.table();
  EXPECT_EQ(std::tuple(t.text(2, 1), t.selectedChannel(), t.channelOff(0), t.channelOff(4)),
            std::tuple("450.00000", 1, true, false));
}

TEST(TuneController, BeginShowsTheItemPanel) {
  Entered rig;
  rig.ctl.NodeClick("SqlOpen");
  EXPECT_EQ(rig.sent(), (std::vector<std::string>{"43 02", "6D 22 01", "6D 22 01"}));
  const TuneView& v = rig.ctl.view();
  EXPECT_EQ((std::vector<std::string>{v.itemCaption, v.channelCaption, v.rxFreq, v.rxSignal,
                                      v.txFreq, v.txSignal, v.valueLabel}),
            (std::vector<std::string>{"第3级静噪电平", "调测信道2", "450.00000", "OFF", "450.00000",
                                      "CTC 67.0", "34"}));
  EXPECT_EQ(std::tuple(v.scrollValue, rig.tuneState, rig.curTuneItem, rig.tuneGridShown,
                       v.itemVisible, v.tableVisible),
            std::tuple(0x22, TuneState::ItemOpen, 3, false, true, false));

  // A transmit-inhibited channel hides the transmit labels.
  rig.ctl.NodeClick("testfreq");
  rig.ctl.table().clickTestChannel(4);
  rig.ctl.table().clickTxInhibit(1);  // channel 2 is no longer selected: its box works
  rig.ctl.table().clickTestChannel(1);
  rig.flags.tuneDataChanged = false;
  rig.ctl.NodeClick("Battery");
  EXPECT_EQ(std::tuple(v.txSignal, v.txFreq), std::tuple("----", "--------"));
}

TEST(TuneController, NodeClickRules) {
  struct Step {
    const char* key;
    std::vector<std::string> frames;
    bool silent = false;  // the radio does not answer
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  // The begins on channel 2 (channel select, then the item's frames), and a discard of
  // Battery (its end frame, then the channel select).
  using Frames = std::vector<std::string>;
  const Frames battery = {"43 02", "42 20 01", "42 20 01"};
  const Frames sqlTight = {"43 02", "4D 21 01", "4D 21 01"};
  const Frames ctcDevW = {"43 02", "53 20 70 06", "51 23 01", "51 23 01"};
  const Frames discard = {"42 20 01", "43 02"};
  const auto then = [](Frames a, const Frames& b) {
    return a.insert(a.end(), b.begin(), b.end()), a;
  };
  const std::vector<Case> cases = {
      {"the same item again sends nothing", {{"CTCDevW", ctcDevW}, {"CTCDevW", {}}}},
      {"another item discards the first, then begins",
       {{"Battery", battery}, {"SqlTight", then(discard, sqlTight)}}},
      {"after testfreq the same item begins again",
       {{"Battery", battery}, {"testfreq", discard}, {"Battery", battery}}},
      {"testfreq without an item sends nothing", {{"testfreq", {}}, {"adjust", {}}}},
      // After a failed end no begin follows (the table was not chosen since), and the open
      // item stays the one the next discard goes to.
      {"a failed end keeps the item open and current",
       {{"Battery", battery},
        {"SqlTight", {"42 20 01"}, true},
        {"SqlTight", then(discard, sqlTight)}}},
      // The radio takes a channel select for the end of the item its discard failed to end:
      // clicked again, the item is closed first, as another item would be.
      {"after a failed discard the same item is closed, then begins",
       {{"CTCDevW", ctcDevW},
        {"testfreq", {"51 23 01"}, true},
        {"CTCDevW", then({"51 23 01", "43 02"}, ctcDevW)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Entered rig;
    size_t failures = 0;
    for (const Step& s : c.steps) {
      SCOPED_TRACE(s.key);
      rig.clearWrites();
      rig.radio().silent = s.silent;
      rig.ctl.NodeClick(s.key);
      EXPECT_EQ(rig.sent(), s.frames);
      failures += s.silent;
    }
    EXPECT_EQ(rig.prompter.messages.size(), failures);
  }
}

TEST(TuneController, GreyNarrowNodesDoNothing) {
  Entered rig(1);
  EXPECT_EQ(std::tuple(rig.ctl.view().narrowNodesGrey, rig.app.radioVersion.major),
            std::tuple(true, 1));
  rig.ctl.NodeClick("Battery");
  rig.clearWrites();
  for (const char* key : {"CTCDevN", "DCSDevN"}) {
    rig.ctl.NodeClick(key);
    // Not even the end of the open item.
    EXPECT_EQ(std::tuple(rig.sent().size(), rig.curTuneItem, rig.ctl.view().itemVisible),
              std::tuple(0u, 1, true));
  }
}

TEST(TuneController, ItemWithoutATuneChannelAsksForOne) {
  TuneRig rig;
  ASSERT_TRUE(rig.ctl.EnterTuneMode());  // no tune channel is switched on: none is chosen
  rig.clearWrites();
  rig.ctl.NodeClick("Battery");
  EXPECT_TRUE(rig.sent().empty());
  EXPECT_EQ(rig.prompter.lines(), (std::vector<std::string>{"提示 / 请先选择调测信道！"}));
  EXPECT_EQ(std::tuple(rig.tuneState, rig.ctl.view().itemVisible, rig.curTuneChannel,
                       rig.ctl.table().selectedChannel()),
            std::tuple(TuneState::Entered, false, 0, -1));
  // Once a channel is chosen in the table the item begins.
  rig.ctl.table().clickChannelOff(3);
  rig.ctl.table().clickTestChannel(3);
  rig.flags.tuneDataChanged = false;
  rig.ctl.NodeClick("Battery");
  EXPECT_EQ(std::tuple(rig.tuneState, rig.sent().front()),
            std::tuple(TuneState::ItemOpen, "43 04"));
}

// cmdSaveTnFq. A tune table write that stops after its first greeting byte leaves the radio
// out of its tune state; the switch-on puts it back before the message, so leaving afterwards
// takes the same frames and has the same effect as after a complete write.
TEST(TuneController, LeavingAfterAFailedTableWrite) {
  struct Case {
    const char* name;
    void (*fault)(sim::RadioSim&);
    std::string message;
    std::string last;  // the frame the switch-on follows
  };
  const Case cases[] = {
      {"complete write", [](sim::RadioSim&) {}, "写入完成 / 写入数据完成，请按“确定”按钮继续......",
       "57 01 A8 08"},
      {"refused block", [](sim::RadioSim& r) { r.config().nakAt = {0x0118}; },
       "写入错误 / 写入数据中断，请重试！", "57 01 18 08"},
      {"identity request unanswered", [](sim::RadioSim& r) { r.config().answerIdentity = false; },
       test::kNoAnswerMsg, "02"},
      {"greetings unanswered",
       [](sim::RadioSim& r) { r.config().ignoreGreetings = r.greetingsSeen() + 3; },
       test::kNoAnswerMsg, "02 50 52 4F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Entered rig;
    c.fault(rig.line.radio);
    rig.ctl.table().clickChannelOff(9);
    rig.ctl.SaveTuneTable();
    EXPECT_EQ(rig.prompter.lines(), std::vector<std::string>{c.message});
    // Written, channel 10 is on in the radio; otherwise the table stays marked changed.
    const bool written = c.message.starts_with("写入完成");
    EXPECT_EQ(std::tuple((rig.mem()[0x100 + 16 * 9 + 2] & 0x08) != 0, rig.flags.tuneDataChanged,
                         rig.line.radio.mode()),
              std::tuple(written, !written, sim::SimMode::Tune));
    const auto sent = rig.sent();
    EXPECT_EQ(std::tuple(sent.back(), sent[sent.size() - 2].substr(0, c.last.size())),
              std::tuple("4E 52 56 54 55 4E 45", c.last));
    EXPECT_FALSE(rig.progress.isOpen() || rig.line.port.isOpen());
    rig.radio() = sim::RadioConfig{};
    rig.clearWrites();
    rig.ctl.ChannelMenu();
    EXPECT_EQ(rig.sent(), (std::vector<std::string>{"52 02 F0 08", "06"}));
    EXPECT_EQ(std::tuple(rig.tuneState, rig.tune.leaves(), rig.line.radio.mode()),
              std::tuple(TuneState::Off, 1, sim::SimMode::Idle));
  }
}

TEST(TuneController, FailedBeginAndTrial) {
  Entered rig;
  rig.tune.config().ignoreChannelSelects = 3;
  rig.ctl.NodeClick("Battery");
  const std::vector<std::string> broken = {"调测错误 / 连接中断，请重试！"};
  EXPECT_EQ(std::tuple(rig.prompter.lines(), rig.tuneState, rig.ctl.view().itemVisible),
            std::tuple(broken, TuneState::Entered, false));

  Entered rig2;
  rig2.tune.config().itemExtraByte = true;  // begin passes, the trial value fails
  rig2.ctl.NodeClick("SqlTight");
  EXPECT_EQ(std::tuple(rig2.prompter.lines(), rig2.tuneState),
            std::tuple(broken, TuneState::ItemOpen));
}

TEST(TuneController, OkAndCancel) {
  Entered rig;
  rig.ctl.NodeClick("DCSDevN");
  rig.clearWrites();
  rig.ctl.Ok();  // the value did not change: the end still stores
  EXPECT_EQ(rig.sent(), (std::vector<std::string>{"44 26 02", "43 02"}));
  EXPECT_FALSE(rig.flags.tuneDataChanged);

  rig.ctl.NodeClick("testfreq");
  rig.ctl.NodeClick("DCSDevN");
  rig.ctl.ScrollChanged(0x99);
  rig.clearWrites();
  rig.ctl.Cancel();  // the radio gets the stored value back
  EXPECT_EQ(rig.sent(), (std::vector<std::string>{"44 26 01", "43 02"}));
  EXPECT_EQ(std::tuple(rig.image[0x2F6], rig.tuneState, rig.ctl.view().itemVisible),
            std::tuple(0x26, TuneState::ItemClosed, false));
}

TEST(TuneController, ScrollStepsSendTheSteppedValueUnlessAtAnEnd) {
  struct Case {
    int from;
    TuneStep step;
    int to;
  };
  const std::vector<Case> cases = {
      {0x40, TuneStep::Up, 0x41},     {0x40, TuneStep::Down, 0x3F},
      {0x40, TuneStep::PageUp, 0x48}, {0x40, TuneStep::PageDown, 0x38},
      {250, TuneStep::PageUp, 255},   {5, TuneStep::PageDown, 0},
      {0x40, TuneStep::Highest, 255}, {0x40, TuneStep::Lowest, 0},
      {255, TuneStep::Up, 255},       {0, TuneStep::Down, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from * 10 + int(c.step));
    Entered stepped, direct;
    for (Entered* rig : {&stepped, &direct}) {
      rig->ctl.NodeClick("DCSDevN");
      rig->ctl.ScrollChanged(c.from);
      rig->clearWrites();
    }
    stepped.ctl.ScrollStep(c.step);
    if (c.to != c.from) direct.ctl.ScrollChanged(c.to);
    EXPECT_EQ(stepped.ctl.view().scrollValue, c.to);
    EXPECT_EQ(stepped.sent().empty(), c.to == c.from);
    EXPECT_EQ(stepped.sent(), direct.sent());
  }
}

TEST(TuneController, LeavingFromEachState) {
  struct Case {
    TuneState state;
    std::vector<std::string> frames;
  };
  const std::vector<Case> cases = {
      {TuneState::Entered, {"52 02 F0 08", "06"}},
      {TuneState::ItemOpen, {"42 20 01", "43 02"}},  // the item is discarded, no leave frames
      {TuneState::ItemClosed, {"52 02 F8 08", "06"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.state));
    Entered rig;
    if (c.state != TuneState::Entered) rig.ctl.NodeClick("Battery");
    if (c.state == TuneState::ItemClosed) rig.ctl.NodeClick("testfreq");  // the table shown again
    ASSERT_EQ(std::tuple(rig.tuneState, rig.tuneGridShown, rig.ctl.view().tableVisible,
                         rig.ctl.view().itemVisible),
              std::tuple(c.state, c.state != TuneState::ItemOpen, c.state != TuneState::ItemOpen,
                         c.state == TuneState::ItemOpen));
    rig.clearWrites();
    rig.ctl.NodeClick("exit");
    // The redisplay did not forget that an item was closed: the leave frames say so.
    EXPECT_EQ(rig.sent(), c.frames);
    EXPECT_EQ(std::tuple(rig.tuneState, rig.tuneGridShown, rig.viewMode, rig.line.port.isOpen()),
              std::tuple(TuneState::Off, false, ViewMode::Channels, false));
    const TuneView& v = rig.ctl.view();
    EXPECT_FALSE(v.tableVisible || v.itemVisible || v.treeVisible);
    EXPECT_TRUE(v.channelPanelsVisible && v.channelChecked && v.editMenusShown);
    // The band of the selected model again.
    EXPECT_EQ(std::tuple(v.tuneChecked, rig.caption, rig.statusBand, rig.line.radio.mode()),
              std::tuple(false, "QM830K编程软件", StatusBandPanel(BuildBandText(rig.app, 0)),
                         c.state == TuneState::ItemOpen ? sim::SimMode::Tune : sim::SimMode::Idle));
  }
}

TEST(TuneController, FailedLeaveKeepsTheStateButHidesThePanels) {
  Entered rig;
  rig.tune.config().silentLeave = true;
  const Micros start = rig.line.clock.now();
  rig.ctl.LeaveTuneMode();
  // The port's 80 ms, then three attempts of 80 ms and 41 polls of 20 + 5 ms.
  EXPECT_EQ((rig.line.clock.now() - start).count(), (80 + 3 * (80 + 41 * 25)) * 1000);
  const std::vector<std::string> sent = rig.sent();
  EXPECT_EQ(std::tuple(rig.tuneState, rig.prompter.messages.size(), rig.ctl.view().tableVisible,
                       std::count(sent.begin(), sent.end(), "52 02 F0 08"), rig.line.port.isOpen()),
            std::tuple(TuneState::Entered, 0u, false, 3, false));
}

// Declined, the item begins all the same; a write that fails has said why and nothing is
// begun. Either way the table keeps the edit and stays marked changed; the accepted offer is
// in WorksOnTheDocumentItIsAttachedTo.
TEST(TuneController, ChangedTableIsOfferedForWritingBeforeABegin) {
  struct Case {
    const char* name;
    Answer answer;
    void (*fault)(sim::RadioSim&);
    std::vector<std::string> after;  // the messages after the question
  };
  const Case cases[] = {
      {"declined", Answer::No, [](sim::RadioSim&) {}, {}},
      {"refused block",
       Answer::Yes,
       [](sim::RadioSim& r) { r.config().nakAt = {0x0100}; },
       {"写入错误 / 写入数据中断，请重试！"}},
      {"greetings unanswered",
       Answer::Yes,
       [](sim::RadioSim& r) { r.config().ignoreGreetings = r.greetingsSeen() + 3; },
       {test::kNoAnswerMsg}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Entered rig;
    rig.ctl.table().clickChannelOff(7);  // switch channel 8 on
    c.fault(rig.line.radio);
    rig.prompter.answers = {c.answer};
    rig.ctl.NodeClick("Battery");
    ASSERT_FALSE(rig.prompter.messages.empty());
    EXPECT_EQ(test::Box(rig.prompter.messages[0]),
              test::Box({"Note", "调测信道的数据已经改变，是否要写入对讲机？", Icon::Question,
                         Buttons::YesNo}));
    const std::vector<std::string> lines = rig.prompter.lines();
    EXPECT_EQ(std::vector(lines.begin() + 1, lines.end()), c.after);
    const bool begun = c.answer == Answer::No;
    EXPECT_EQ(std::tuple((rig.mem()[0x100 + 16 * 7 + 2] & 0x08) != 0, rig.flags.tuneDataChanged,
                         rig.ctl.table().channelOff(7), rig.tuneState, rig.ctl.view().itemVisible,
                         rig.line.radio.mode()),
              std::tuple(false, true, false, begun ? TuneState::ItemOpen : TuneState::Entered,
                         begun, sim::SimMode::Tune));
    rig.ctl.NodeClick("testfreq");  // the table again, with the edit not yet written
    EXPECT_EQ(std::tuple(rig.ctl.table().channelOff(7), rig.flags.tuneDataChanged),
              std::tuple(false, true));
  }
}

// Leaving the tune view with a table not yet written asks first: No drops the edits (the
// table shows the radio's again), Yes writes before the leave frames (an open item is
// discarded first), and a write that fails keeps the tune view.
TEST(TuneController, ChangedTableIsOfferedForWritingBeforeLeaving) {
  // The view is left unless the write fails; channel 8 is on in the radio once written, and
  // off again in the table once declined.
  struct Case {
    const char* name;
    Answer answer;
    bool itemOpen, writeFails;
    std::array<std::string, 3> frames;  // the beginnings of the first frame sent, the last two
  };
  const Case cases[] = {
      {"declined", Answer::No, false, false, {"52 02 F0 08", "52 02 F0 08", "06"}},
      {"written", Answer::Yes, false, false, {"02", "52 02 F0 08", "06"}},
      {"written, item open", Answer::Yes, true, false, {"42 20 01", "52 02 F8 08", "06"}},
      {"write fails", Answer::Yes, false, true, {"02", "57 01 00 08", "4E 52 56 54 55 4E 45"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Entered rig;
    rig.ctl.table().clickChannelOff(7);  // switch channel 8 on
    if (c.itemOpen) {
      rig.prompter.answers = {Answer::No};
      rig.ctl.NodeClick("Battery");
    }
    if (c.writeFails) rig.radio().nakAt = {0x0100};
    rig.clearWrites();
    rig.prompter.clear();
    rig.prompter.answers = {c.answer};
    const bool left = !c.writeFails, written = c.answer == Answer::Yes && left;
    EXPECT_EQ(rig.ctl.ChannelMenu(), left);
    EXPECT_EQ(rig.prompter.messages.front().text, "调测信道的数据已经改变，是否要写入对讲机？");
    const auto sent = rig.sent();
    ASSERT_GE(sent.size(), 2u);
    const std::string* frames[] = {&sent.front(), &sent[sent.size() - 2], &sent.back()};
    for (size_t k = 0; k < 3; ++k)
      EXPECT_EQ(frames[k]->substr(0, c.frames[k].size()), c.frames[k]) << k;
    EXPECT_EQ(std::tuple((rig.mem()[0x100 + 16 * 7 + 2] & 0x08) != 0, rig.viewMode,
                         rig.flags.tuneDataChanged, rig.ctl.table().channelOff(7)),
              std::tuple(written, left ? ViewMode::Channels : ViewMode::Tune, c.writeFails,
                         c.answer == Answer::No));
  }
}

// The controller over a real document: the tune state lives in the document, and the
// document's commands reach tune mode through the hooks AttachTune sets.
TEST(TuneController, WorksOnTheDocumentItIsAttachedTo) {
  test::ScratchDir dir;
  test::GbkCodec codec;
  ProfileFile ini{dir.file("QM830K.ini"), codec};
  TuneRig rig;  // its radio, line and prompter; the document's own tune state
  auto [app, prompter, line] = std::tie(rig.app, rig.prompter, rig.line);
  prompter.defaultAnswer = Answer::Yes;
  Document doc{app, prompter, ini};
  TuneController ctl(app, prompter, TuneRefsOf(doc),
                     TuneLinkParts{line.port, line.clock, rig.progress});
  AttachTune(doc, ctl);

  doc.Start();  // the tune channel defaults come with the rest of the defaults
  // 136 MHz: count 21760 of 6.25 kHz.
  EXPECT_EQ(std::tuple(doc.image[0x101], doc.image[0x102], doc.image[0x10E]),
            std::tuple(0x55, 0x04, 1));
  EXPECT_EQ(ctl.table().text(1, 1), "136.00000");

  test::PutTuneChannel(line.radio.memory(), 0, 150.0, 0x00, 0, 0);
  line.radio.memory()[0x2F0] = 0x44;
  ASSERT_TRUE(ctl.EnterTuneMode());
  EXPECT_EQ(
      std::tuple(doc.tuneState, doc.viewMode, doc.curTuneChannel, doc.caption, doc.image[0x2F0]),
      std::tuple(TuneState::Entered, ViewMode::Tune, 1, "正在调测－" + app.softwareTitle, 0x44));

  // An undo past a tune table write brings back a table the radio no longer holds: it counts
  // as changed, and the next item offers to write it.
  TuneTableModel& t = ctl.table();
  t.pressCell(1, tunecol::kRxFreq);
  t.editorTextChanged("151.00000");
  t.CommitPendingEdit();
  ctl.SaveTuneTable();
  ASSERT_TRUE(doc.history().undo());
  EXPECT_EQ(t.text(1, tunecol::kRxFreq), "150.00000");
  EXPECT_TRUE(doc.flags.tuneDataChanged);
  // A save writes the table the window shows, not the one the radio was given.
  test::FakeFileDialogs dialogs;
  dialogs.choose(dir.file("undone.q83"));
  ASSERT_EQ(doc.SaveAs(dialogs), SaveResult::Saved);
  const LoadedFile saved = LoadDataFileFrom(dir.file("undone.q83"), Image{}, SpareBlock{});
  EXPECT_EQ(FreqBytesToText(saved.image[0x100], saved.image[0x101], saved.image[0x102], '.'),
            "150.00000");
  prompter.messages.clear();
  ctl.NodeClick("Battery");  // the offer accepted: written, then the item begins
  EXPECT_EQ(prompter.lines(),
            (std::vector<std::string>{"Note / 调测信道的数据已经改变，是否要写入对讲机？",
                                      "写入完成 / 写入数据完成，请按“确定”按钮继续....."}));
  const auto& mem = line.radio.memory();
  EXPECT_EQ(FreqBytesToText(mem[0x100], mem[0x101], mem[0x102], '.'), "150.00000");
  EXPECT_EQ(std::tuple(doc.tuneState, doc.flags.tuneDataChanged),
            std::tuple(TuneState::ItemOpen, false));
  rig.clearWrites();
  EXPECT_EQ(doc.RequestClose({}), CloseDecision::Close);
  EXPECT_EQ(rig.sent(), (std::vector<std::string>{"42 44 01", "43 01"}));
  EXPECT_EQ(doc.tuneState, TuneState::Off);
  EXPECT_FALSE(line.port.isOpen());
}

}  // namespace
}  // namespace qm
