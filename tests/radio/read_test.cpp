#include <gtest/gtest.h>

#include "radio/read_radio.h"
#include "radio_fixture.h"
#include "support/fake_prompter.h"

namespace qm::test {
namespace {

using namespace std::chrono_literals;

class ReadTest : public RadioTest {
 protected:
  ReadTest() {
    FillPattern(line.radio.memory(), 0x11);
    line.radio.memory()[0x2D2] = 2;  // the UHF model
    FillPattern(image.bytes(), 0x99);
    before = image;
    fromTuneView();
  }

  ReadResult Read() {
    ReadHooks hooks;
    hooks.accepted = [this] { ++acceptedCalls; };
    return ReadRadio(ctx, image, verMajor, hooks);
  }

  Image radioImage() const {
    Image img;
    std::copy(line.radio.memory().begin(), line.radio.memory().end(), img.bytes().begin());
    return img;
  }

  Image before;
  int acceptedCalls = 0;
};

TEST_F(ReadTest, CompleteReadFramesTimingAndResult) {
  radio().modelCode = 2;
  const ReadResult r = Read();
  ASSERT_EQ(r.status, ReadStatus::Completed);
  EXPECT_EQ(image, radioImage());
  // The model selected by image byte 0x2D2.
  EXPECT_EQ(std::tuple(verMajor, app.radioVersion.text(), app.curModel), std::tuple(2, "2.0", 1));
  // "END" took the radio out of its tune state: no switch-on.
  EXPECT_EQ(std::tuple(tune.shownBefore.size(), tune.back.leftTune, acceptedCalls),
            std::tuple(0u, true, 1));
  EXPECT_EQ(prompter.lines(), std::vector<std::string>{"读频 / 读频完成，请按“确定”按钮继续...."});
  EXPECT_EQ(std::tuple(prompter.messages[0].icon, line.port.isOpen()),
            std::tuple(Icon::None, false));
  EXPECT_EQ(ReadDoneCaption(app), "读频完成－ QM830K编程软件");

  // Frames: handshake (3), 128 requests in address order, END. Timing: the handshake ends at
  // 310 ms; clear and 50 ms; each block waits 25 ms, sends and finds its reply at the first
  // 10 ms poll.
  Sent want;
  for (int k = 0; k < 128; ++k) want.emplace_back(ReadRequest(8 * k), 385 + 35 * k);
  want.emplace_back(kEnd, 310 + 50 + 35 * 128 + 30);
  EXPECT_EQ(sent(3), want);
  EXPECT_EQ(nowMs(), 310 + 50 + 35 * 128 + 30 + 20 + 20);

  // Progress: "读频", maximum 635, 5 per block, the final value shown once more.
  EXPECT_EQ(std::tuple(progress.title(), progress.caption(), progress.maximum()),
            std::tuple("读频", "正在从对讲机读取数据.....", 635));
  ASSERT_EQ(progress.positions.size(), 129u);
  const auto& pos = progress.positions;
  EXPECT_EQ(std::tuple(pos[1], pos[127], pos[128], progress.closes), std::tuple(5, 635, 635, 1));
}

TEST_F(ReadTest, VersionsOfTheRadio) {
  struct Case {
    uint8_t major;
    bool warningOn;
    WarningAnswer answer;
    ReadStatus status;
    std::vector<std::string> messages;
    size_t warnings;
  };
  const std::string v1 = "读频 / 读频完成。该机为V1.0版，某些功能无效，详情请查看帮助文件！";
  const std::string newer = "读频 / 新的机型版本,请升级你的写频软件!";
  const Case cases[] = {
      {1, true, {true, false}, ReadStatus::Completed, {v1}, 0},
      {3, true, {true, false}, ReadStatus::Completed, {newer}, 1},
      {3, true, {false, false}, ReadStatus::Declined, {}, 1},
      {3, false, {false, false}, ReadStatus::Completed, {newer}, 0},
      {4, true, {true, true}, ReadStatus::Completed, {newer}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.major));
    RadioBench b;
    b.radio().verMajor = c.major;
    auto& mem = b.line.radio.memory();
    FillPattern(mem, 0x22);
    mem[0x2B0] = 0xF0;  // function byte 0 in the old layout
    for (size_t ch = 0; ch < 16; ++ch) mem[16 * ch + 10] = 0xFF;  // the channels' flags
    mem[0x2B0 + 12] = 0xFF;                                       // function byte 12
    mem[0x2B0 + 4] = 0x01;                                        // power selection key
    b.prompter.warnAnswers = {c.answer};
    b.app.showWarning[1] = c.warningOn;
    Image& img = b.image;
    FillPattern(img.bytes(), 0x55);
    const Image old = img;
    const ReadResult r = ReadRadio(b.ctx, img, b.verMajor, {});
    EXPECT_EQ(b.prompter.lines(), c.messages);
    EXPECT_EQ(std::tuple(r.status, b.prompter.warnings.size(), b.app.radioVersion.major,
                         b.line.port.isOpen()),
              std::tuple(c.status, c.warnings, c.major, false));
    EXPECT_EQ(b.app.showWarning[1], c.warningOn && !c.answer.dontShowAgain);
    const bool completed = c.status == ReadStatus::Completed;
    EXPECT_EQ(b.verMajor, completed ? c.major : 2);
    if (!completed) {
      EXPECT_EQ(img, old);  // declined: the document keeps what it had
      continue;
    }
    // A version-1 image is converted: function bytes 0, 4 and 12 and every channel's flags.
    EXPECT_EQ(std::tuple(img[0x2B0], img[0x2B0 + 12], img[0x2B0 + 4]),
              c.major < 2 ? std::tuple(0x78, 0xFD, 0x00) : std::tuple(0xF0, 0xFF, 0x01));
    for (size_t ch = 0; ch < 16; ++ch)
      EXPECT_EQ(img[16 * ch + 10], c.major < 2 ? 0xDE : 0xFF) << ch;
  }
}

// A model code above 32 is reported and the read goes on; the replies are stored where they
// point, late and overlong ones too.
TEST_F(ReadTest, ModelCodeAbove32AndRepliesStoredWhereTheyPoint) {
  radio().modelCode = 33;
  // The reply to 0x000 names 0x120: it lands at 0x120, and 0x000-0x007 keep what the image
  // had. A reply with another first byte, or for a page above 3, is skipped.
  radio().redirect = {{0x000, 0x120}, {0x018, 0x418}};
  radio().wrongFirstAt = {0x2F8};
  // Late and overlong replies within the polls are accepted.
  radio().lateAt = {0x200};
  radio().lateLatency = 700ms;  // 81 polls of 10 ms wait 810 ms
  radio().longAt = {0x300};     // one byte more than a block reply
  ASSERT_EQ(Read().status, ReadStatus::Completed);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(Box(prompter.messages[0]), Box({"错误", "机型错误，请写入正确机型！", Icon::Critical}));
  const Image want = radioImage();
  for (size_t a = 0; a < kImageSize; ++a) {
    const bool skipped = a < 0x008 || (a >= 0x018 && a < 0x020) || (a >= 0x2F8 && a < 0x300);
    EXPECT_EQ(image[a], skipped ? before[a] : want[a]) << a;
  }
  const auto t = writeTimes();  // the late block costs 70 polls instead of one
  EXPECT_EQ(t[3 + 65] - t[3 + 64], 25 + 700);
}

// A clock whose every wait ends 2 ms late, as a sleeping clock on a busy machine does.
class LateClock : public Clock {
 public:
  explicit LateClock(sim::VirtualClock& base) : base_(base) {}
  void delayMs(int ms) override { base_.advance(Micros{int64_t{ms} * 1000 + 2000}); }
  void delayUntil(Micros deadline) override {
    if (deadline > base_.now()) base_.advance(deadline - base_.now() + Micros{2000});
  }
  Micros now() const override { return base_.now(); }

 private:
  sim::VirtualClock& base_;
};

TEST_F(ReadTest, LateWakeUpsDoNotAddUpWithinAnExchange) {
  LateClock late(line.clock);
  LinkContext c{line.port, late, prompter, progress, app, 1};
  ASSERT_EQ(ReadRadio(c, image, verMajor, {}).status, ReadStatus::Completed);
  // Each block waits 25 ms, sends and looks 10 ms later: its waits are deadlines from the
  // block's start, so a block takes 35 ms and one late wake-up, not one per wait.
  const auto t = writeTimes();
  for (int k = 1; k < 128; ++k) EXPECT_EQ(t[3 + k] - t[2 + k], 37) << k;
}

TEST(StoreReadReply, BoundsOfAReply) {
  struct Case {
    std::vector<uint8_t> reply;
    bool ok;
    bool ignored;
  };
  const Case cases[] = {
      {{0x57, 0x03, 0xF8, 8, 1, 2, 3, 4, 5, 6, 7, 8}, true, false},
      {{0x57, 0x03, 0xF9, 8, 1, 2, 3, 4, 5, 6, 7, 8}, false, false},   // past 0x3FF
      {{0x57, 0x00, 0x0C, 8, 1, 2, 3, 4, 5, 6, 7, 8}, false, false},   // past its row
      {{0x57, 0x00, 0x00, 16, 1, 2, 3, 4, 5, 6, 7, 8}, false, false},  // carries 8 of 16
      {{0x57, 0x00, 0x00, 0, 1, 2, 3, 4, 5, 6, 7, 8}, true, false},
      {{0x57, 0x04, 0x00, 8, 1, 2, 3, 4, 5, 6, 7, 8}, true, true},
      {{0x00, 0x00, 0x00, 8, 1, 2, 3, 4, 5, 6, 7, 8}, true, true},
      {{0x57, 0xFF, 0xFF, 255}, true, true},
  };
  for (const Case& c : cases) {
    Image img;
    bool ignored = false;
    EXPECT_EQ(StoreReadReply(c.reply, img, ignored), c.ok) << sim::HexBytes(c.reply);
    EXPECT_EQ(ignored, c.ignored);
    EXPECT_TRUE(c.ok || img == Image{});  // a refused reply stores nothing
  }
}

}  // namespace
}  // namespace qm::test
