#include <gtest/gtest.h>

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

// Replies are stored by their own address: those naming 0x3D0-0x3DF or 0x3F0-0x3FF are not
// kept; another first byte or page is skipped.
TEST_F(EmbedTest, ReadFramesTimingAndAreas) {
  radio().redirect = {{0x300, 0x3F0}, {0x308, 0x3D0}, {0x310, 0x210}};
  radio().wrongFirstAt = {0x3E8};
  ASSERT_TRUE(ReadEmbedInfo(ctx, image, verMajor));
  const auto& mem = line.radio.memory();
  for (size_t a = 0; a < kImageSize; ++a) {
    if (a == 0x2D0) continue;  // the handshake's minor version
    const bool skipped = a < 0x318 || a >= 0x3E8;
    EXPECT_EQ(image[a], EmbedArea(a) && !skipped ? mem[a] : before[a]) << a;
  }
  EXPECT_EQ(prompter.lines(),
            std::vector<std::string>{"完成 / 读取数据完成，请按“确定”按钮继续....."});
  EXPECT_EQ(std::tuple(prompter.messages[0].icon, line.port.isOpen()),
            std::tuple(Icon::None, false));

  // 30 requests 0x300 .. 0x3E8 (0x3F0 is never asked for), then END.
  Sent want;
  for (int i = 0; i < 30; ++i) want.emplace_back(ReadRequest(0x300 + 8 * i), 385 + 35 * i);
  want.emplace_back(kEnd, 310 + 50 + 35 * 30 + 30);
  EXPECT_EQ(sent(3), want);
  EXPECT_EQ(nowMs(), 310 + 50 + 35 * 30 + 50 + 20);
}

TEST_F(EmbedTest, WriteSendsTheTextAreaOnly) {
  std::fill(line.radio.memory().begin(), line.radio.memory().end(), uint8_t{0xEE});
  ASSERT_TRUE(WriteEmbedInfo(ctx, image, verMajor));
  const auto& mem = line.radio.memory();
  for (size_t a = 0; a < kImageSize; ++a)
    EXPECT_EQ(mem[a], a >= 0x300 && a < 0x3C0 ? image[a] : 0xEE) << a;
  EXPECT_EQ(prompter.lines(),
            std::vector<std::string>{"完成 / 写入数据完成，请按“确定”按钮继续....."});
  const auto b = writeBytes();
  const auto t = writeTimes();
  ASSERT_EQ(b.size(), 3u + 24u + 1u);
  for (int i = 0; i < 24; ++i)
    EXPECT_EQ(std::tuple(b[3 + i].size(), b[3 + i][1], b[3 + i][2], t[3 + i]),
              std::tuple(12u, 0x03, 8 * i, 310 + 20 + 30 + 50 * i));
  EXPECT_FALSE(line.port.isOpen());
}

}  // namespace
}  // namespace qm::test
