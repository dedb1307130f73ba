#include <gtest/gtest.h>

#include "radio/write_radio.h"
#include "radio_fixture.h"
#include "support/fake_prompter.h"

namespace qm::test {
namespace {

class WriteTest : public RadioTest {
 protected:
  WriteTest() {
    std::fill(line.radio.memory().begin(), line.radio.memory().end(), uint8_t{0xEE});
    FillPattern(image.bytes(), 0x5A);
    image[0x2B0] = 0x78;
    image[0x2D2] = 1;
  }

  WriteResult Write() {
    return WriteRadio(ctx, image, verMajor, [] { return FixedTime(); });
  }
};

bool Written(size_t a) {
  return a < 0x100 || (a >= 0x2B0 && a < 0x2C0) || (a >= 0x2D0 && a < 0x2E0) ||
         (a >= 0x3C0 && a < 0x3D0);
}

TEST_F(WriteTest, CompleteWriteSendsTheFourAreasOnly) {
  radio().verMinor = 4;
  const WriteResult r = Write();
  ASSERT_EQ(r.status, WriteStatus::Completed);
  EXPECT_EQ(r.framesAcknowledged, 38);
  EXPECT_EQ(prompter.lines(),
            std::vector<std::string>{"写频完成 / 写频完成，请按“确定”按钮继续....."});
  EXPECT_FALSE(line.port.isOpen());
  EXPECT_EQ(WriteDoneCaption(app), "写频完成－QM830K编程软件");

  // The write-date row is stamped at write time, in the image and in the radio.
  const std::string stamp = "20261207013005";
  for (size_t i = 0; i < 14; ++i) EXPECT_EQ(image[0x3C0 + i], stamp[i]);
  // Then two zero bytes; the radio's minor version from the handshake at 0x2D0.
  EXPECT_EQ(std::tuple(image[0x3CE], image[0x3CF], image[0x2D0]), std::tuple(0, 0, 4));

  const auto& mem = line.radio.memory();
  for (size_t a = 0; a < kImageSize; ++a) {
    if (!Written(a)) {
      EXPECT_EQ(mem[a], 0xEE) << a;
    } else if (a == 0x2D1 || a == 0x2D9) {
      EXPECT_EQ(mem[a], 2) << a;  // the version byte in place of the image's byte
    } else {
      EXPECT_EQ(mem[a], image[a]) << a;
    }
  }
  EXPECT_NE(image[0x2D1], 2);  // the image keeps its own bytes
  EXPECT_NE(image[0x2D9], 2);

  // Frames in plan order after the handshake, then END; each waits 30 ms and is
  // acknowledged at the first 20 ms poll.
  const auto plan = WritePlan();
  ASSERT_EQ(plan.size(), 38u);
  const auto t = writeTimes();
  const auto b = writeBytes();
  ASSERT_EQ(b.size(), 3u + 38u + 1u);
  for (size_t i = 0; i < plan.size(); ++i) {
    EXPECT_EQ(std::tuple(b[3 + i][1], b[3 + i][2], b[3 + i][3], t[3 + i]),
              std::tuple(plan[i] >> 8, plan[i] & 0xFF, 8, 310 + 60 + 30 + 50 * int64_t(i)))
        << i;
  }
  EXPECT_EQ(b.back(), kEnd);

  // Progress: "写频", maximum 140, 5 per frame; full after 28 frames and stays full.
  EXPECT_EQ(std::tuple(progress.title(), progress.caption(), progress.maximum()),
            std::tuple("写频", "正在向对讲机写入数据....", 140));
  ASSERT_EQ(progress.positions.size(), 39u);
  const auto& pos = progress.positions;
  EXPECT_EQ(std::tuple(pos[26], pos[27], pos[38], progress.value(), progress.closes),
            std::tuple(135, 140, 140, 190, 1));
}

TEST_F(WriteTest, VersionsOfTheRadio) {
  struct Case {
    uint8_t major;
    std::array<bool, 2> warningsOn;
    int warnIndex;  // -1: no warning
    bool confirm;
    WriteStatus status;
    uint8_t functionByte0;  // as sent
  };
  const Case cases[] = {
      {2, {true, true}, -1, true, WriteStatus::Completed, 0x78},
      {1, {true, true}, 0, true, WriteStatus::Completed, 0xF0},
      {0, {true, true}, 0, false, WriteStatus::Declined, 0},
      {3, {true, true}, 1, false, WriteStatus::Declined, 0},
      {3, {true, false}, -1, true, WriteStatus::Completed, 0x78},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.major));
    RadioBench b;
    b.radio().verMajor = c.major;
    FakePrompter& p = b.prompter;
    p.defaultWarn = {c.confirm, false};
    b.app.showWarning = c.warningsOn;
    Image& img = b.image;
    FillPattern(img.bytes(), 0x10);
    img[0x2B0] = 0x78;
    const WriteResult r = WriteRadio(b.ctx, img, b.verMajor, [] { return FixedTime(); });
    // Function byte 0 is converted only in the copy sent.
    EXPECT_EQ(std::tuple(r.status, b.verMajor, img[0x2B0]), std::tuple(c.status, c.major, 0x78));
    ASSERT_EQ(p.warnings.size(), c.warnIndex < 0 ? 0u : 1u);
    for (const auto& w : p.warnings)
      EXPECT_EQ(std::tuple(w.first, w.second), std::tuple(c.warnIndex, WarningText(c.warnIndex)));
    const auto& mem = b.line.radio.memory();
    if (c.status == WriteStatus::Declined) {
      EXPECT_EQ(std::tuple(b.line.radio.writtenAddresses().size(), p.messages.size()),
                std::tuple(0u, 0u));
      continue;
    }
    EXPECT_EQ(std::tuple(mem[0x2B0], mem[0x2D1], mem[0x2D9]),
              std::tuple(c.functionByte0, c.major, c.major));
    // Only function byte 0 is converted, and the version goes in place of byte 1 of the two
    // identification frames only.
    for (size_t a : {0x2B1, 0x2B8, 0x2D0, 0x2D2, 0x2DA, 0x009}) EXPECT_EQ(mem[a], img[a]) << a;
  }
}

// Code 33 is reported as wrong, and the write goes on to ask, as for any other model.
TEST_F(WriteTest, OtherModelIsAskedFirst) {
  radio().modelCode = 33;  // the selected model has code 1
  prompter.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(Write().status, WriteStatus::Declined);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(Box(prompter.messages[0]), Box({"错误", "机型错误，请写入正确机型！", Icon::Critical}));
  EXPECT_EQ(Box(prompter.messages[1]), Box({"QM830K", "选择的机型与当前机型不同 是否要继续？",
                                            Icon::Information, Buttons::YesNo}));
  EXPECT_TRUE(line.radio.writtenAddresses().empty());
  EXPECT_EQ(Write().status, WriteStatus::Completed);
  EXPECT_EQ(line.radio.memory()[0x2D2], 1);  // the selected model's code, unchanged
}

TEST_F(WriteTest, PortThatGoesAwayDuringTheWrite) {
  // The handshake succeeds, then the port refuses every frame.
  struct DropAfterHandshake : sim::LinePeer {
    sim::RadioSim radio;
    sim::FakeSerialPort* port = nullptr;
    void receive(uint8_t b, Micros at, std::vector<sim::TimedByte>& out) override {
      radio.receive(b, at, out);
      if (radio.mode() == sim::SimMode::Program) port->failWrites(true);
    }
  } peer;
  sim::VirtualClock clock;
  sim::FakeSerialPort port(clock, &peer);
  peer.port = &port;
  FakePrompter p;
  LinkContext cx{port, clock, p, progress, app, 1};
  const WriteResult r = WriteRadio(cx, image, verMajor, [] { return FixedTime(); });
  EXPECT_EQ(r.status, WriteStatus::Failed);
  EXPECT_EQ(Joined(p.lines()), "写频错误 / 写频错误，请重新写入！");
  EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace qm::test
