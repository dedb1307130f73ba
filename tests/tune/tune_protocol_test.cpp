#include "tune/tune_protocol.h"

#include <gtest/gtest.h>

#include <random>

#include "tune/tune_rig.h"

namespace qm {
namespace {

using test::TuneRig;

using Bytes = std::vector<uint8_t>;

// The whole adjustment of "CTCDevN" on tune channel 3, with its timing on the virtual clock.
TEST(TuneProtocol, CtcDevNarrowAdjustmentByteForByte) {
  TuneRig rig;
  rig.imageVerMajor = 2;
  test::PutTuneChannel(rig.mem(), 2, 146.0125, 0x30, 0x70, 0x06);
  rig.mem()[0x2F5] = 0x80;
  ASSERT_TRUE(rig.ctl.EnterTuneMode());
  ASSERT_EQ(rig.curTuneChannel, 3);  // the first channel switched on

  rig.clearWrites();
  const Micros start = rig.line.clock.now();
  rig.ctl.NodeClick("CTCDevN");
  rig.ctl.ScrollChanged(0x9A);
  rig.ctl.Ok();

  EXPECT_EQ(rig.sent(), (std::vector<std::string>{"43 03", "53 20 70 06", "6E", "51 80 01",
                                                  "51 80 01", "51 9A 01", "51 9A 02", "43 03"}));
  std::vector<int64_t> offsets;
  for (const auto& w : rig.line.port.writes()) offsets.push_back((w.at - start).count() / 1000);
  // Port opening 80 ms; each frame after its pre-send wait, each reply on the first poll.
  EXPECT_EQ(offsets, (std::vector<int64_t>{160, 220, 260, 360, 450, 550, 590, 690}));

  // Stored by the radio at 0x2F0 + item index.
  EXPECT_EQ(
      std::tuple(rig.image[0x2F5], rig.mem()[0x2F5], rig.tuneState, rig.ctl.view().itemVisible),
      std::tuple(0x9A, 0x9A, TuneState::ItemClosed, false));
  ASSERT_EQ(rig.tune.stores().size(), 1u);
  // The port stays open from the begin until the leave.
  EXPECT_EQ(std::tuple(rig.tune.stores()[0].item, rig.line.port.isOpen()), std::tuple(5, true));
  EXPECT_TRUE(rig.prompter.messages.empty()) << rig.prompter.lines()[0];
}

// Items 1-7: the frames of a begin, and the judging of their replies. A reply with one byte
// too many passes the begin and the end (at least the expected bytes) but fails a trial
// value (exactly the expected bytes), which is tried three times.
TEST(TuneProtocol, BeginTrialAndEndRulesOfEveryItem) {
  // The frames of a begin on channel 1, by item: the channel select, the transmit signalling
  // from the fourth item on, 6E before the two narrow deviations, then the item's frame.
  const char* commands[] = {"42", "4D", "6D", "51", "44", "51", "44"};
  for (int item = 0; item < 7; ++item) {
    SCOPED_TRACE(item);
    std::vector<std::string> begin = {"43 01"};
    if (item >= 3) begin.push_back("53 40 13 00");
    if (item >= 5) begin.push_back("6E");
    begin.push_back(commands[item] + std::string(" 1") + char('0' + item) + " 01");
    for (bool extra : {false, true}) {
      SCOPED_TRACE(extra);
      TuneRig rig;
      rig.line.radio.setMode(sim::SimMode::Tune);
      rig.tune.config().itemExtraByte = extra;
      test::PutTuneChannel(rig.image.bytes(), 0, 146.0, 0x50, 0x13, 0x00);
      for (int i = 0; i < 7; ++i) rig.image[0x2F0 + i] = static_cast<uint8_t>(0x10 + i);
      LinkContext ctx = rig.ctx();

      EXPECT_EQ(BeginTuneItem(ctx, rig.image, item, 1), 1);
      EXPECT_EQ(rig.sent(), begin);

      rig.clearWrites();
      EXPECT_EQ(SendTuneAdjust(ctx, item + 1, 0x77), !extra);
      EXPECT_EQ(rig.sent().size(), 1u);  // enough bytes came: no second attempt
      EXPECT_EQ(rig.prompter.messages.size(), extra ? 1u : 0u);

      rig.clearWrites();
      EXPECT_EQ(EndTuneItem(ctx, item, 1, 0x55, true), 1);
      const std::string cmd = begin.back().substr(0, 2);
      EXPECT_EQ(rig.sent(), (std::vector<std::string>{cmd + " 55 02", "43 01"}));
      EXPECT_EQ(rig.mem()[0x2F0 + static_cast<size_t>(item)], 0x55);
    }
  }
}

TEST(TuneProtocol, ReplyJudging) {
  struct Case {
    TuneCheck check;
    std::vector<uint8_t> reply;
    int item;
    bool passes;
  };
  const std::vector<uint8_t> request = Bytes{0x52, 0x02, 0xF0, 0x08};
  std::vector<uint8_t> echo = Bytes{0x57, 0x02, 0xF0, 0x08, 1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<uint8_t> otherAddress = echo;
  otherAddress[2] = 0xF8;
  const std::vector<Case> cases = {
      {TuneCheck::ItemPrefix, Bytes{0x47, 0x00, 0x06, 0x00}, 1, true},
      {TuneCheck::ItemExact, Bytes{0x47, 0x00, 0x06, 0x00}, 1, false},
      {TuneCheck::ItemExact, Bytes{0x47, 0x00, 0x06}, 1, true},
      {TuneCheck::ItemPrefix, Bytes{0x47, 0x00}, 1, false},
      {TuneCheck::ItemPrefix, Bytes{0x47, 0x01, 0x06}, 2, false},
      {TuneCheck::ItemPrefix, Bytes{0x62, 0x4E, 0x06}, 0, true},
      {TuneCheck::ItemExact, Bytes{0x06}, 6, true},
      {TuneCheck::ItemExact, Bytes{0x15}, 6, false},
      {TuneCheck::ItemExact, Bytes{}, 3, false},
      {TuneCheck::Ack, Bytes{}, 0, false},
      {TuneCheck::Ack, Bytes{0x06, 0x00}, 0, true},
      {TuneCheck::ReadReply, Bytes{0x57, 1, 0, 8, 0, 0, 0, 0, 0, 0, 0}, 0, false},
      {TuneCheck::EchoAddress, echo, 0, true},
      {TuneCheck::EchoAddress, otherAddress, 0, false},
      {TuneCheck::None, Bytes{}, 0, true},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const Case& c = cases[i];
    EXPECT_EQ(TuneReplyPasses(c.check, c.reply, request, c.item), c.passes);
  }
}

TEST(TuneProtocol, SignallingFrameForEveryKindNibble) {
  for (int kind = 0; kind < 16; ++kind) {
    SCOPED_TRACE(kind);
    std::array<uint8_t, 16> rec{};
    rec[7] = static_cast<uint8_t>(kind << 4 | 0x0C);
    rec[8] = 0xAB;
    rec[9] = 0x01;
    const uint8_t type = kind < 8 ? "\0\0\x20\x20\x40\x40\x50\x50"[kind] : 0;
    EXPECT_EQ(
        SignallingFrame(ConstRow(rec)),
        (std::array<uint8_t, 4>{0x53, type, uint8_t(type ? 0xAB : 0), uint8_t(type ? 1 : 0)}));
  }
}

TEST(TuneProtocol, ChannelSelectTriesThreeTimesThenFails) {
  for (int ignored : {2, 3}) {
    SCOPED_TRACE(ignored);
    TuneRig rig;
    rig.line.radio.setMode(sim::SimMode::Tune);
    rig.tune.config().ignoreChannelSelects = ignored;
    LinkContext ctx = rig.ctx();
    const Micros start = rig.line.clock.now();
    EXPECT_EQ(BeginTuneItem(ctx, rig.image, 0, 4), ignored < 3 ? 1 : 0);
    const std::vector<std::string> sent = rig.sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "43 04"), 3);
    if (ignored == 3) {
      EXPECT_EQ(sent.size(), 3u);  // nothing after the channel select
      // Three attempts of 80 ms + 21 polls of 20 + 5 ms, after the 80 ms of the open.
      EXPECT_EQ((rig.line.clock.now() - start).count(), (80 + 3 * (80 + 21 * 25)) * 1000);
    }
  }
}

TEST(TuneProtocol, EntryStoresRepliesByTheirOwnAddress) {
  TuneRig rig;
  for (size_t i = 0; i < 1024; ++i) rig.mem()[i] = static_cast<uint8_t>(i * 7 + 3);
  // The reply to 0x0100 names 0x02F8; the reply to 0x0108 names 0x0300, outside both areas.
  rig.radio().redirect = {{0x0100, 0x02F8}, {0x0108, 0x0300}};
  for (size_t i = 0; i < 16; ++i) rig.image[0x100 + i] = 0xEE;
  LinkContext ctx = rig.ctx();
  const TuneEntryResult r = EnterTuneMode(ctx, rig.image, rig.imageVerMajor);
  ASSERT_TRUE(r.entered());
  EXPECT_EQ(r.handshake.modelCode, 1);
  for (size_t i = 0; i < 8; ++i) {
    // No reply named 0x0100; the 0x0300 reply stored nothing.
    EXPECT_EQ(std::tuple(rig.image[0x100 + i], rig.image[0x108 + i], rig.image[0x300 + i]),
              std::tuple(0xEE, 0xEE, 0x00));
    // 0x2F8, row 1 column 0, row 10 column 8, 0x2F0.
    for (size_t a : {0x2F8 + i, 0x110 + i, 0x1A8 + i, 0x2F0 + i})
      EXPECT_EQ(rig.image[a], rig.mem()[a]) << a;
  }
  EXPECT_EQ(std::tuple(rig.line.radio.mode(), rig.line.port.isOpen()),
            std::tuple(sim::SimMode::Tune, false));
  // 30 x 23
  EXPECT_EQ(std::tuple(rig.progress.maximum(), rig.progress.position(), rig.progress.closes),
            std::tuple(690, 690, 1));
  const auto sent = rig.sent();
  // Handshake (greeting, identity, acknowledge), 24 reads, acknowledge and NRVTUNE.
  ASSERT_EQ(sent.size(), 3u + 24u + 2u);
  EXPECT_EQ(sent[3], "52 01 00 08");
  EXPECT_EQ(std::vector<std::string>(sent.begin() + 24, sent.end()),
            (std::vector<std::string>{"52 01 A8 08", "52 02 F0 08", "52 02 F8 08", "06",
                                      "4E 52 56 54 55 4E 45"}));
}

TEST(TuneProtocol, StoreTuneReplyStaysInsideItsRow) {
  Image image;
  // Count 16 at column 8 of the last tune row would run into the next row: only 8 go in.
  Bytes reply = {0x57, 0x01, 0xA8, 16};
  reply.resize(4 + 16, 0x5A);
  EXPECT_TRUE(StoreTuneReply(reply, image));
  for (size_t a = 0x1A8; a < 0x1C0; ++a) EXPECT_EQ(image[a], a < 0x1B0 ? 0x5A : 0x00) << a;
  // A count larger than the bytes carried copies only those.
  EXPECT_TRUE(StoreTuneReply(Bytes{0x57, 0x02, 0xF0, 8, 1, 2}, image));
  EXPECT_EQ(std::tuple(image[0x2F1], image[0x2F2]), std::tuple(2, 0));
  EXPECT_FALSE(StoreTuneReply(Bytes{0x57, 0x01, 0xB0, 8, 1, 2, 3, 4, 5, 6, 7, 8}, image));
  EXPECT_FALSE(StoreTuneReply(Bytes{0x57, 0x02, 0xE0, 8, 1, 2, 3, 4, 5, 6, 7, 8}, image));
}

struct EntryFault {
  const char* name;
  void (*arrange)(TuneRig&);
  std::string message;  // "title / text"
};

TEST(TuneProtocol, EntryFailuresAndTheirMessages) {
  const std::string stop = "调测错误 / 调测中断，请重新进入！";
  const std::vector<EntryFault> faults = {
      {"short read", [](TuneRig& r) { r.radio().shortAt = {0x0150}; }, stop},
      {"wrong first byte", [](TuneRig& r) { r.radio().wrongFirstAt = {0x02F8}; },
       "调测错误 / 调测错误，请重试！"},
      {"ack unanswered", [](TuneRig& r) { r.tune.config().silentEntryAck = true; }, stop},
      {"NRVTUNE refused", [](TuneRig& r) { r.tune.config().refuseSwitchOn = true; }, stop},
      {"silent radio", [](TuneRig& r) { r.radio().silent = true; }, test::kNoAnswerMsg},
      {"other radio", [](TuneRig& r) { r.radio().identity = "X4712"; }, test::kOtherRadioMsg},
      {"port missing", [](TuneRig& r) { r.line.port.failOpen("No such file"); },
       "错误 / 端口1: No such file"},
  };
  for (const EntryFault& f : faults) {
    SCOPED_TRACE(f.name);
    TuneRig rig;
    f.arrange(rig);
    EXPECT_FALSE(rig.ctl.EnterTuneMode());
    EXPECT_EQ(rig.prompter.lines(), std::vector<std::string>{f.message});
    EXPECT_EQ(std::tuple(rig.tuneState, rig.viewMode, rig.ctl.view().editMenusShown,
                         rig.ctl.view().channelPanelsVisible, rig.line.port.isOpen(),
                         rig.progress.isOpen()),
              std::tuple(TuneState::Off, ViewMode::Channels, true, true, false, false));
  }
}

TEST(TuneProtocol, WriteTuneDataSendsTheTableAndIgnoresTheSwitchOnReply) {
  TuneRig rig;
  rig.tune.config().refuseSwitchOn = true;
  for (size_t i = 0; i < 0xB0; ++i) rig.image[0x100 + i] = static_cast<uint8_t>(i);
  LinkContext ctx = rig.ctx();
  EXPECT_EQ(WriteTuneData(ctx, rig.image, rig.imageVerMajor), 1);
  for (size_t i = 0; i < 0xB0; ++i) EXPECT_EQ(rig.mem()[0x100 + i], i);
  const auto sent = rig.sent();
  ASSERT_EQ(sent.size(), 3u + 22u + 1u);
  EXPECT_EQ(std::tuple(sent[3].substr(0, 11), sent[24].substr(0, 11), sent[25]),
            std::tuple("57 01 00 08", "57 01 A8 08", "4E 52 56 54 55 4E 45"));
  EXPECT_EQ(
      std::tuple(rig.progress.maximum(), rig.line.port.isOpen(), rig.prompter.messages.size()),
      std::tuple(1050, false, 0u));
}

// Whatever a broken radio answers, an entry reply lands only in the two tune areas, and
// judging it never reads past its end.
TEST(TuneProtocol, HostileRepliesStayInsideTheTuneAreas) {
  std::mt19937 rng(830);
  Image image;
  const Image before = image;
  for (int n = 0; n < 20000; ++n) {
    std::vector<uint8_t> reply(rng() % 24);
    for (uint8_t& b : reply) b = static_cast<uint8_t>(rng());
    if (reply.size() > 1 && rng() % 2 == 0) reply[1] = static_cast<uint8_t>(1 + rng() % 2);
    StoreTuneReply(reply, image);
    for (int item = -1; item <= 7; ++item) {
      for (TuneCheck c : {TuneCheck::ItemPrefix, TuneCheck::ItemExact, TuneCheck::EchoAddress,
                          TuneCheck::ReadReply, TuneCheck::Ack}) {
        TuneReplyPasses(c, reply, std::span<const uint8_t>(reply).first(reply.size() / 2), item);
      }
    }
  }
  for (size_t a = 0; a < kImageSize; ++a) {
    const bool tuneArea = (a >= 0x100 && a < 0x1B0) || (a >= 0x2F0 && a < 0x300);
    if (!tuneArea) {
      EXPECT_EQ(image[a], before[a]) << a;
    }
  }
}

}  // namespace
}  // namespace qm
