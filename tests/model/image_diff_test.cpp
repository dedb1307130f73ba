// Comparing two images: fields in the editors' texts, every other byte by address.
#include "model/image_diff.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/codecs.h"
#include "model/editor_fixture.h"
#include "model/embed_areas.h"

namespace qm {
namespace {

using Texts = std::vector<std::string>;

Texts Lines(const ImageDiff& d) {
  std::istringstream in(FormatDiff(d));
  Texts out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

class ImageDiffTest : public ::testing::Test {
 protected:
  AppState app = test::TestApp();
  Image a = test::DefaultImage(app, 0);
  Image b = a;
  Texts Diff() { return Lines(DiffImages(a, b, app)); }
};

TEST_F(ImageDiffTest, ChannelAndFunctionFieldsInTheEditorsTexts) {
  ChannelRecord r = b.channel(2);
  FreqTextToBytes("446.01875", r[0], r[1], r[2]);
  SignalTextToBytes("-DCS 754", r[7], r[8], r[9]);
  r[7] &= 0xF7;   // transmit inhibited
  r[10] ^= 0x35;  // power, scan, busy lock, bandwidth
  ChannelRecord old = a.channel(2);
  const std::string oldRx = FreqBytesToText(old[0], old[1], old[2]);
  // The function settings by label with both shown texts.
  b.functions()[7] = 0x09;   // 发射限时 90秒
  b.functions()[11] = 0x0C;  // squelch 12: rejected on load
  b.functions()[0] ^= 0x01;  // a kept bit
  b.functions()[8] = 0x42;   // kept byte
  EXPECT_EQ(Diff(),
            (Texts{"信道3 接收频率: " + oldRx + " -> 446.01875", "信道3 禁发: 否 -> 是",
                   "信道3 发射CTC/DCS: OFF -> -DCS 754", "信道3 扫描: 添加 -> 删除",
                   "信道3 繁忙锁定: 关闭 -> 打开", "信道3 发射功率: 高 -> 低",
                   "信道3 带宽: 宽带 -> 窄带", "整机功能 发射限时: 60秒 -> 90秒",
                   "整机功能 静噪等级: 5 -> (错误)", "0x2B0: 68 -> 69", "0x2B8: FF -> 42"}));
}

TEST_F(ImageDiffTest, SameTextOnTheOtherRasterOrKeptBitsShowAsBytes) {
  // 450.000 MHz as 90000 x 5 kHz instead of 72000 x 6.25 kHz: the grid shows the same text.
  test::Put(a.channel(0), 0, {0x40, 0x19});
  a.channel(0)[2] = (a.channel(0)[2] & 0xF8) | 0x05;
  test::Put(b.channel(0), 0, {0x90, 0x5F});
  b.channel(0)[2] = (b.channel(0)[2] & 0xF8) | 0x01;
  b.channel(1)[10] ^= 0x03;  // kept bit 1 and the bandwidth
  b.channel(1)[12] = 0x77;   // left as loaded
  EXPECT_EQ(Diff(), (Texts{"信道2 带宽: 宽带 -> 窄带", "0x000: 40 -> 90", "0x001: 19 -> 5F",
                           "0x002: 0D -> 09", "0x01A: 00 -> 03", "0x01C: 00 -> 77"}));
}

TEST_F(ImageDiffTest, TuneTableItemsEmbeddedInformationAndUnusedAreas) {
  for (Image* img : {&a, &b}) {
    ChannelRecord t = img->tuneChannel(1);
    FreqTextToBytes("450.00000", t[0], t[1], t[2]);
  }
  ChannelRecord t = b.tuneChannel(1);
  t[2] |= 0x08;           // switched on
  t[2] ^= 0x04;           // the same count on the 5 kHz step
  b.tuneItems()[0] = 99;  // 电池低压电平
  CollectEmbedText(u"检修 2026", b);
  for (int k = 0; k < 4; ++k) b.radioId()[k] = static_cast<uint8_t>('A' + k);
  b[0x1B0] = 0x5A;  // held as read
  EXPECT_EQ(Diff(), (Texts{"调测信道2 关闭: 是 -> 否", "调测信道2 接收频率: 450.00000 -> 360.00000",
                           "调测信道2 接收步进: 6.25 -> 5.00", "调整项 电池低压电平: 0 -> 99",
                           "内嵌信息 用户信息: \"\" -> \"检修 2026\"", "内嵌信息 电台ID:  -> ABCD",
                           "0x1B0: 00 -> 5A"}));
}

TEST_F(ImageDiffTest, TheSpareBlockAndEveryBitOfTheImageAreCovered) {
  SpareBlock sa{}, sb{};
  sb[5] = 0x11;
  EXPECT_EQ(Lines(DiffImages(a, sa, b, sb, app)), (Texts{"附加块+0x05: 00 -> 11"}));

  // Equal images have no entries; whatever single bit differs, the images never compare
  // equal: every byte is either a field or listed by address.
  EXPECT_TRUE(DiffImages(a, b, app).equal());
  EXPECT_EQ(FormatDiff(DiffImages(a, b, app)), "");
  for (size_t k = 0; k < kImageSize; ++k) {
    for (int bit = 0; bit < 8; ++bit) {
      b = a;
      b[k] ^= static_cast<uint8_t>(1u << bit);
      ASSERT_FALSE(DiffImages(a, b, app).equal()) << "address " << k << " bit " << bit;
    }
  }
}

}  // namespace
}  // namespace qm
