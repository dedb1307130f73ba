#include "radio/link.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <variant>

#include "radio/embed_info.h"
#include "radio/read_radio.h"
#include "radio/write_radio.h"
#include "radio_fixture.h"
#include "support/fake_prompter.h"

namespace qm::test {
namespace {

using namespace std::chrono_literals;

class LinkTest : public RadioTest {};

TEST_F(LinkTest, HandshakeFramesAndTiming) {
  radio().modelCode = 2;
  radio().verMajor = 2;
  radio().verMinor = 0x1F;
  const HandshakeResult hs = EnterProgramMode(ctx, verMajor, image);
  EXPECT_EQ(std::tuple(hs.outcome, hs.modelCode), std::tuple(Handshake::Accepted, 2));
  // OpenLinkPort waits 80 ms, the greeting 80 ms before sending; each reply is there at the
  // first look: greeting +20 +10, identity 40 / 20, final acknowledge 40 / 20.
  EXPECT_EQ(sent(), (Sent{{kGreetingBytes, 160}, {{0x02}, 230}, {{0x06}, 290}}));
  EXPECT_EQ(nowMs(), 310);
  EXPECT_EQ(line.port.lastSettings(), kLinkSettings);
  EXPECT_TRUE(line.port.isOpen());  // callers close it
  EXPECT_EQ(std::tuple(verMajor, image[0x2D0], hs.version->text()), std::tuple(2, 0x1F, "2.1F"));
  EXPECT_EQ(std::tuple(RadioVersion{2, 0}.text(), RadioVersion{0x10, 0xFF}.text()),
            std::tuple("2.0", "10.FF"));
  EXPECT_TRUE(prompter.messages.empty());

  // "END" after 30 ms, its answer at the first 20 ms poll.
  const int64_t start = nowMs();
  ExitProgramMode(ctx);
  EXPECT_EQ(writeBytes().back(), kEnd);
  EXPECT_EQ(std::tuple(writeTimes().back(), nowMs(), line.radio.mode()),
            std::tuple(start + 30, start + 50, sim::SimMode::Idle));
  // A radio that does not answer "END" costs the whole 31 polls of 20 ms.
  radio().answerEnd = false;
  ASSERT_TRUE(EnterProgramMode(ctx, verMajor, image).accepted());
  const int64_t again = nowMs();
  ExitProgramMode(ctx);
  EXPECT_EQ(nowMs(), again + 30 + 31 * 20);
}

TEST_F(LinkTest, GreetingAnsweredOnTheThirdAttemptIsAccepted) {
  radio().ignoreGreetings = 2;
  EXPECT_EQ(EnterProgramMode(ctx, verMajor, image).modelCode, 1);
  // Each unanswered attempt: 80 ms, the greeting, 20 ms, 41 polls of 15 ms = 715 ms.
  const std::vector<int64_t> t = writeTimes();
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(std::tuple(t[0], t[1], t[2]), std::tuple(160, 160 + 715, 160 + 2 * 715));
}

TEST_F(LinkTest, RadioThatNeverAnswersGivesNoAnswerAfterThreeAttempts) {
  radio().silent = true;
  const HandshakeResult r = EnterProgramMode(ctx, verMajor, image);
  EXPECT_EQ(std::tuple(r.outcome, nowMs(), line.port.writes().size()),
            std::tuple(Handshake::NoAnswer, 80 + 3 * 715, 3u));
  ctx.portNumber = 4;
  EXPECT_FALSE(ReactToProgramMode(ctx, r));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(Box(prompter.messages[0]),
            Box({"通讯端口错误", "端口4 没有响应，请检查你的连接或机器电源是否打开！",
                 Icon::Exclamation}));
  EXPECT_EQ(verMajor, 2);  // nothing accepted, nothing changed
}

struct HandshakeCase {
  const char* name;
  void (*setup)(Cfg&);
  Handshake outcome;
  int modelCode;         // with Accepted
  bool versionStored;    // ImageVerMajor and 0x2D0 taken from the reply
  std::string messages;  // "title / text" of the messages shown, joined by "|"
};

TEST_F(LinkTest, ReactionTable) {
  const HandshakeCase cases[] = {
      {"healthy", [](Cfg&) {}, Handshake::Accepted, 1, true, ""},
      {"greeting refused", [](Cfg& c) { c.greetingAck = 0x15; }, Handshake::NoAnswer, 0, false,
       kNoAnswerMsg},
      {"9-byte identity", [](Cfg& c) { c.identityExtraByte = true; }, Handshake::NoAnswer, 0, false,
       kNoAnswerMsg},
      {"short identity", [](Cfg& c) { c.identity = "Q471"; }, Handshake::NoAnswer, 0, false,
       kNoAnswerMsg},
      {"other radio", [](Cfg& c) { c.identity = "Q4713"; }, Handshake::OtherRadio, 0, false,
       kOtherRadioMsg},
      {"final acknowledge wrong", [](Cfg& c) { c.finalAck = 0x00; }, Handshake::NoAnswer, 0, true,
       kNoAnswerMsg},
      {"model code 33", [](Cfg& c) { c.modelCode = 33; }, Handshake::Accepted, 33, true,
       "错误 / 机型错误，请写入正确机型！"},
      {"model code 32", [](Cfg& c) { c.modelCode = 32; }, Handshake::Accepted, 32, true, ""},
      {"model code 255", [](Cfg& c) { c.modelCode = 255; }, Handshake::OtherRadio, 0, true,
       "错误 / 机型错误，请写入正确机型！|" + kOtherRadioMsg},
  };
  for (const HandshakeCase& hc : cases) {
    SCOPED_TRACE(hc.name);
    RadioBench b;
    b.radio().verMajor = 1;
    b.radio().verMinor = 0x0A;
    hc.setup(b.radio());
    b.image[0x2D0] = 0x77;
    const HandshakeResult r = EnterProgramMode(b.ctx, b.verMajor, b.image);
    EXPECT_EQ(std::tuple(r.outcome, r.modelCode), std::tuple(hc.outcome, hc.modelCode));
    EXPECT_EQ(ReactToProgramMode(b.ctx, r), r.accepted());
    const auto sent = b.writeBytes();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), kGreetingBytes), 1);
    EXPECT_EQ(std::tuple(b.verMajor, b.image[0x2D0]),
              hc.versionStored ? std::tuple(1, 0x0A) : std::tuple(2, 0x77));
    EXPECT_EQ(r.version, hc.versionStored ? std::optional(RadioVersion{1, 0x0A}) : std::nullopt);
    EXPECT_EQ(Joined(b.prompter.lines()), hc.messages);
    for (const Message& m : b.prompter.messages) {
      EXPECT_EQ(m.icon, m.title == "错误" ? Icon::Critical : Icon::Exclamation);
      EXPECT_EQ(m.buttons, Buttons::Ok);
    }
  }
}

// The operations over the link, run on a bench: the status (for the embedded information,
// whether it succeeded) and how far it got: read requests sent, write frames acknowledged,
// or (embedded information) write frames that reached the radio.
enum class Op { Read, Write, EmbedRead, EmbedWrite };
using OpStatus = std::variant<ReadStatus, WriteStatus, bool>;
std::pair<OpStatus, int> RunOp(RadioBench& b, Op op) {
  if (op == Op::Write) {
    const WriteResult r = WriteRadio(b.ctx, b.image, b.verMajor, [] { return FixedTime(); });
    return {r.status, r.framesAcknowledged};
  }
  if (op != Op::Read) {
    const bool ok = op == Op::EmbedRead ? ReadEmbedInfo(b.ctx, b.image, b.verMajor)
                                        : WriteEmbedInfo(b.ctx, b.image, b.verMajor);
    return {ok, int(b.line.radio.writtenAddresses().size())};
  }
  const ReadResult r = ReadRadio(b.ctx, b.image, b.verMajor, {});
  int requests = 0;
  for (const auto& w : b.writeBytes()) requests += w.size() == 4 && w[0] == 0x52;
  return {r.status, requests};
}

TEST_F(LinkTest, PortThatCannotBeOpenedStopsSilentlyAfterItsMessage) {
  // OpenCommPort, which the tune view's link uses, says nothing.
  RadioBench quiet;
  quiet.line.port.failOpen("No such file or directory");
  OpenCommPort(quiet.ctx);
  EXPECT_EQ(std::tuple(quiet.prompter.messages.size(), quiet.nowMs()), std::tuple(0u, 80));
  // A read or a write: nothing sent, no progress window, the document as it was, and no way
  // back into the tune state (nothing reached the radio).
  for (Op op : {Op::Read, Op::Write}) {
    RadioBench b;
    b.line.port.failOpen("Device or resource busy");
    b.ctx.portNumber = 3;
    b.fromTuneView();
    FillPattern(b.image.bytes(), 0x5A);
    const Image before = b.image;
    EXPECT_EQ(RunOp(b, op).first, op == Op::Read ? OpStatus(ReadStatus::NotStarted)
                                                 : OpStatus(WriteStatus::NotStarted));
    EXPECT_EQ(b.prompter.lines(),
              std::vector<std::string>{"错误 / 端口3: Device or resource busy"});
    EXPECT_EQ(std::tuple(b.prompter.messages[0].icon, b.line.port.writes().size(), b.progress.opens,
                         b.tune.shownBefore.size(), b.image == before),
              std::tuple(Icon::Critical, 0u, 0, 0u, true));
  }
}

// A failed operation says why once, closes its port and progress window and leaves the
// document as it was: a read's scratch copy and version are dropped.
TEST_F(LinkTest, FailuresOfEveryOperation) {
  const auto at = AddAt;
  const std::function<void(Cfg&)> silent = [](Cfg& c) { c.silent = true; };
  const std::function<void(Cfg&)> other = [](Cfg& c) { c.identity = "Q9999"; };
  struct Case {
    Op op;
    std::function<void(Cfg&)> setup;
    OpStatus status;
    std::string message;
    int reached;
  };
  const std::string readStop = "读频错误 / 读频中断，请重试！";
  const std::string readData = "数据错误 / 读取数据错误，请重试！";
  const std::string writeStop = "写频错误 / 写频中断，请重试！";
  const std::string embedRead = "错误 / 读取数据错误，请重试！";
  const std::string embedWrite = "错误 / 写入数据中断，请重试！";
  const Case cases[] = {
      {Op::Read, at(&Cfg::shortAt, 0x100), ReadStatus::Interrupted, readStop, 33},
      {Op::Read, at(&Cfg::silentReadAt, 0x3F8), ReadStatus::Interrupted, readStop, 128},
      // A reply later than the polls.
      {Op::Read, [](Cfg& c) { c.lateAt = {0x008}, c.lateLatency = 900ms; }, ReadStatus::Interrupted,
       readStop, 2},
      {Op::Read, at(&Cfg::overCountAt, 0x040), ReadStatus::DataError, readData, 9},
      // A reply that runs past its row and the image.
      {Op::Read, [](Cfg& c) { c.redirect[0x010] = 0x3FC; }, ReadStatus::DataError, readData, 3},
      {Op::Read, silent, ReadStatus::NotStarted, kNoAnswerMsg, 0},
      {Op::Read, other, ReadStatus::NotStarted, kOtherRadioMsg, 0},
      {Op::Write, at(&Cfg::noAckAt, 0x2B8), WriteStatus::Interrupted, writeStop, 33},
      {Op::Write, at(&Cfg::nakAt, 0x000), WriteStatus::Interrupted, writeStop, 0},
      {Op::Write, silent, WriteStatus::NotStarted, kNoAnswerMsg, 0},
      {Op::Write, other, WriteStatus::NotStarted, kOtherRadioMsg, 0},
      {Op::Write, [](Cfg& c) { c.modelCode = 2; }, WriteStatus::Declined,
       "QM830K / 选择的机型与当前机型不同 是否要继续？", 0},
      {Op::EmbedRead, at(&Cfg::shortAt, 0x3C8), false, embedRead, 0},
      {Op::EmbedRead, [](Cfg& c) { c.redirect[0x3E0] = 0x3EC; }, false, embedRead, 0},
      {Op::EmbedRead, silent, false,
       "通讯端口错误 / 端口1 没有响应, 请检查你的连接或机型电源是否打开！", 0},
      {Op::EmbedRead, other, false, kOtherRadioMsg, 0},
      {Op::EmbedWrite, at(&Cfg::noAckAt, 0x340), false, embedWrite, 9},
      {Op::EmbedWrite, at(&Cfg::nakAt, 0x300), false, embedWrite, 1},
      {Op::EmbedWrite, silent, false, "通讯端口错误 / 端口1 没有响应，请检查你的连接！", 0},
      {Op::EmbedWrite, other, false, kOtherRadioMsg, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    RadioBench b;
    FillPattern(b.line.radio.memory(), 0x33);
    c.setup(b.radio());
    b.prompter.defaultAnswer = Answer::No;
    const bool program = c.op == Op::Read || c.op == Op::Write;
    if (program) b.fromTuneView();
    FillPattern(b.image.bytes(), 0x44);
    b.image[0x2D0] = 0;  // the radio's minor version as well, unless a read is to drop it
    if (c.op == Op::Read) b.radio().verMinor = 9, b.verMajor = 7;
    const Image old = b.image;
    EXPECT_EQ(RunOp(b, c.op), std::pair(c.status, c.reached));
    EXPECT_EQ(Joined(b.prompter.lines()), c.message);
    ASSERT_EQ(b.prompter.messages.size(), 1u);
    const bool declined = c.status == OpStatus(WriteStatus::Declined);
    EXPECT_EQ(b.prompter.messages[0].icon, declined ? Icon::Information : Icon::Exclamation);
    EXPECT_EQ(std::tuple(b.progress.opens, b.line.port.isOpen()),
              std::tuple(b.progress.closes, false));
    if (c.op != Op::Write) {
      EXPECT_EQ(b.image, old);
    } else {  // the frames before the failure are in the radio
      for (int i = 0; i < c.reached; ++i)
        EXPECT_EQ(b.line.radio.memory()[WritePlan()[i] + 3u], b.image[WritePlan()[i] + 3u]) << i;
    }
    EXPECT_TRUE(c.op != Op::Read || b.verMajor == 7) << b.verMajor;
    // Begun in the tune view, the radio is handed back to its tune state: before a failure
    // is reported, after a question.
    if (program) {
      EXPECT_EQ(b.tune.shownBefore, std::vector<size_t>{declined ? 1u : 0u});
      EXPECT_FALSE(b.tune.back.leftTune);
    }
  }
}

TEST_F(LinkTest, SendWaitsForTheLineToCarryTheBytes) {
  RadioBench paced(true);
  ASSERT_TRUE(paced.line.port.open(1, kLinkSettings));
  EXPECT_TRUE(SendBytes(paced.ctx, kGreetingBytes));
  // 8 bytes of 1.146 ms: the send loop returns at the first whole millisecond after 9.17 ms.
  EXPECT_EQ(std::tuple(paced.nowMs(), paced.line.port.outCount()), std::tuple(10, 0u));
}

TEST_F(LinkTest, PortScanOffersTheLowestUsablePort) {
  struct Case {
    std::set<int> present;
    int16_t current;
    int16_t offered;
    std::vector<int> extra = {};  // the listed ports above COM16
  };
  const Case cases[] = {
      {{3, 5, 9}, 5, 5},           // the configured port works: it stays
      {{3, 9}, 5, 3},              // configured but missing: the lowest working port
      {{}, 5, 1},                  // nothing works: port 1
      {{16}, 0, 16},               //
      {{23}, 23, 23, {23, 40}},    // nothing of COM1..16 opens: a listed port above them
      {{3, 23}, 40, 3, {23, 40}},  // a stored port above 16 that is gone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offered);
    sim::VirtualClock clock;
    sim::FakeSerialPort port(clock, nullptr);
    port.setPresentPorts(c.present);
    const PortScan scan = ScanPorts(port, c.current, c.extra);
    EXPECT_EQ(std::tuple(scan.portNumber, scan.candidate),
              std::tuple(c.offered, c.present.empty() ? 1 : *c.present.begin()));
    for (int n = 1; n <= 16; ++n) EXPECT_EQ(scan.usable[n], c.present.count(n) != 0) << n;
    for (int n : c.extra) EXPECT_EQ(scan.extraUsable.at(n), c.present.count(n) != 0) << n;
    EXPECT_EQ(scan.failure.count(5) ? scan.failure.at(5) : OpenFailure::None,
              c.present.count(5) ? OpenFailure::None : OpenFailure::Absent);
    EXPECT_EQ(port.lastSettings(), kScanSettings);
    EXPECT_FALSE(port.isOpen());
  }
}

TEST_F(LinkTest, VersionWarningAsksOnlyWhileSwitchedOn) {
  prompter.warnAnswers = {{false, true}};
  EXPECT_FALSE(ConfirmVersionWarning(ctx, 1));  // cancelled, but "do not ask again" ticked
  EXPECT_FALSE(app.showWarning[1]);
  EXPECT_TRUE(ConfirmVersionWarning(ctx, 1));  // no longer asked
  ASSERT_EQ(prompter.warnings.size(), 1u);
  EXPECT_EQ(
      prompter.warnings[0].second,
      "当前连接的机器为更新版本，本软件可能不适用，请使用更新版本的编程软件软件。是否继续？ ");
  EXPECT_EQ(WarningText(0),
            "当前要写频的机器为V1.0版，某些功能无效，详情请查看帮助文件！是否继续？ ");
  EXPECT_EQ(WarningText(7), "是否继续？ ");
  EXPECT_TRUE(app.showWarning[0]);
}

}  // namespace
}  // namespace qm::test
