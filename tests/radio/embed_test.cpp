#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "radio/embed_info.h"
#include "radio_fixture.h"

namespace qm::test {
namespace {

class EmbedTest : public RadioTest {
 protected:
  EmbedTest() {
    FillPattern(line.radio.memory(), 0x31);
    FillPattern(image.bytes(), 0x77);
    before = image;
  }
  Image before;
};

bool EmbedArea(size_t a) { return (a >= 0x300 && a < 0x3D0) || (a >= 0x3E0 && a < 0x3F0); }

TEST_F(EmbedTest, ReadFramesTimingAndAreas) {
  ASSERT_TRUE(ReadEmbedInfo(ctx, image, verMajor));
  const auto& mem = line.radio.memory();
  for (size_t a = 0; a < kImageSize; ++a) {
    if (a == 0x2D0) continue;  // the handshake's minor version
    EXPECT_EQ(image[a], EmbedArea(a) ? mem[a] : before[a]) << a;
  }
  EXPECT_EQ(prompter.lines(),
            std::vector<std::string>{"完成 / 读取数据完成，请按“确定”按钮继续....."});
  EXPECT_EQ(prompter.messages[0].icon, Icon::None);
  EXPECT_FALSE(line.port.isOpen());

  // 30 requests 0x300 .. 0x3E8 (0x3F0 is never asked for), then END.
  const auto b = writeBytes();
  const auto t = writeTimes();
  ASSERT_EQ(b.size(), 3u + 30u + 1u);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(b[3 + i], (std::vector<uint8_t>{0x52, 0x03, static_cast<uint8_t>(8 * i), 0x08}));
    EXPECT_EQ(t[3 + i], 310 + 50 + 25 + 35 * i) << i;
  }
  EXPECT_EQ(b.back(), (std::vector<uint8_t>{'E', 'N', 'D'}));
  EXPECT_EQ(nowMs(), 310 + 50 + 35 * 30 + 50 + 20);
}

TEST_F(EmbedTest, RepliesAreStoredByTheirOwnAddress) {
  // Replies naming 0x3D0-0x3DF or 0x3F0-0x3FF are not kept; another first byte or page is
  // skipped.
  radio().redirect = {{0x300, 0x3F0}, {0x308, 0x3D0}, {0x310, 0x210}};
  radio().wrongFirstAt = {0x3E8};
  ASSERT_TRUE(ReadEmbedInfo(ctx, image, verMajor));
  const auto& mem = line.radio.memory();
  for (size_t a = 0x300; a < 0x400; ++a) {
    const bool skipped = a < 0x318 || (a >= 0x3D0 && a < 0x3E0) || a >= 0x3E8;
    EXPECT_EQ(image[a], skipped ? before[a] : mem[a]) << a;
  }
  EXPECT_EQ(image[0x210], before[0x210]);
}

TEST_F(EmbedTest, WriteSendsTheTextAreaOnly) {
  std::fill(line.radio.memory().begin(), line.radio.memory().end(), uint8_t{0xEE});
  ASSERT_TRUE(WriteEmbedInfo(ctx, image, verMajor));
  const auto& mem = line.radio.memory();
  for (size_t a = 0; a < kImageSize; ++a) {
    EXPECT_EQ(mem[a], a >= 0x300 && a < 0x3C0 ? image[a] : 0xEE) << a;
  }
  EXPECT_EQ(prompter.lines(),
            std::vector<std::string>{"完成 / 写入数据完成，请按“确定”按钮继续....."});
  const auto b = writeBytes();
  const auto t = writeTimes();
  ASSERT_EQ(b.size(), 3u + 24u + 1u);
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(std::tuple(b[3 + i].size(), b[3 + i][1], b[3 + i][2], t[3 + i]),
              std::tuple(12u, 0x03, 8 * i, 310 + 20 + 30 + 50 * i))
        << i;
  }
  EXPECT_FALSE(line.port.isOpen());
}

// A failed read leaves the three areas as they were; a failed write reports how far it got.
TEST_F(EmbedTest, ReadAndWriteFailures) {
  struct Case {
    const char* name;
    bool write;
    void (*setup)(sim::RadioConfig&);
    std::string message;
    size_t frames;  // write frames that reached the radio
  };
  const Case cases[] = {
      {"short reply", false, [](sim::RadioConfig& c) { c.shortAt = {0x3C8}; },
       "错误 / 读取数据错误，请重试！", 0},
      {"runs past its row", false,
       [](sim::RadioConfig& c) {
         c.redirect = {{0x3E0, 0x3EC}};
       },
       "错误 / 读取数据错误，请重试！", 0},
      {"no answer to a read", false, [](sim::RadioConfig& c) { c.silent = true; },
       "通讯端口错误 / 端口1 没有响应, 请检查你的连接或机型电源是否打开！", 0},
      {"other radio on a read", false, [](sim::RadioConfig& c) { c.identity = "Q9999"; },
       "机型错误 / 机型与软件不匹配，请选择正确的机型！", 0},
      {"no acknowledge", true, [](sim::RadioConfig& c) { c.noAckAt = {0x340}; },
       "错误 / 写入数据中断，请重试！", 9},
      {"negative acknowledge", true, [](sim::RadioConfig& c) { c.nakAt = {0x300}; },
       "错误 / 写入数据中断，请重试！", 1},
      {"no answer to a write", true, [](sim::RadioConfig& c) { c.silent = true; },
       "通讯端口错误 / 端口1 没有响应，请检查你的连接！", 0},
      {"other radio on a write", true, [](sim::RadioConfig& c) { c.identity = "Q9999"; },
       "机型错误 / 机型与软件不匹配，请选择正确的机型！", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RadioBench b;
    FillPattern(b.line.radio.memory(), 0x42);
    c.setup(b.radio());
    FillPattern(b.image.bytes(), 0x24);
    b.image[0x2D0] = 0;  // the radio's minor version is 0 as well
    const Image old = b.image;
    EXPECT_FALSE(c.write ? WriteEmbedInfo(b.ctx, b.image, b.verMajor)
                         : ReadEmbedInfo(b.ctx, b.image, b.verMajor));
    EXPECT_EQ(Joined(b.prompter.lines()), c.message);
    EXPECT_EQ(b.prompter.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(b.image, old);
    EXPECT_EQ(b.line.radio.writtenAddresses().size(), c.frames);
    EXPECT_FALSE(b.line.port.isOpen());
  }
}

}  // namespace
}  // namespace qm::test
