#include "model/defaults.h"

#include <algorithm>
#include <cstdio>

#include "base/tables.h"
#include "base/text_util.h"
#include "model/codecs.h"

namespace qm {

namespace {

constexpr int64_t kMaxFreqCount = 0x3FFFF;  // 18 bits

void DefaultChannelsByStep(Image& image, const ModelEntry& model, bool step625) {
  // A band edge from a hand-edited model list can be anything; keep the count inside its
  // 18 bits so that it never spills into the step-unit, in-use or signalling bits.
  double unitKhz = step625 ? 6.25 : 5.0;
  int64_t n = RoundHalfEven(model.rangeLow * 1000.0 / unitKhz);
  n = std::clamp<int64_t>(n, 0, kMaxFreqCount);

  std::array<uint8_t, 16> rec{};
  rec[0] = static_cast<uint8_t>(n & 0xFF);
  rec[1] = static_cast<uint8_t>((n >> 8) & 0xFF);
  rec[2] = static_cast<uint8_t>(((n >> 16) & 0xFF) | 0x08 | (step625 ? 0x04 : 0x00));
  rec[5] = rec[0];
  rec[6] = rec[1];
  rec[7] = rec[2];
  rec[14] = 1;
  rec[15] = 1;
  for (int c = 0; c < kChannelCount; ++c) std::ranges::copy(rec, image.channel(c).bytes().begin());

  ChannelRecord last = image.channel(kChannelCount - 1);
  last[2] &= 0xF7;
  last[7] &= 0xF7;
  last[14] = 0;
}

void DefaultFixedChannels(Image& image) {
  for (int c = 0; c < kChannelCount; ++c) {
    PresetChannel p = c < static_cast<int>(kPresetChannels.size())
                          ? kPresetChannels[static_cast<size_t>(c)]
                          : PresetChannel{1, 1};
    ChannelRecord r = image.channel(c);
    r[0] = static_cast<uint8_t>(0xC1 + 2 * (p.k - 1));
    r[1] = 0x16;
    r[2] = 0x0D;  // count bits 17-16 = 1, 6.25 kHz, in use
    uint16_t code;
    if (p.s <= 38) {
      code = CtcToneCode(kCtcTones[p.s]);
      r[2] |= 0x30;
    } else {
      code = static_cast<uint16_t>(DcsOctalValue(kDcsCodes[static_cast<size_t>(p.s - 39)]));
      r[2] |= 0x50;
    }
    r[5] = r[0];
    r[6] = r[1];
    r[7] = r[2];
    r[3] = static_cast<uint8_t>(code & 0xFF);
    r[4] = static_cast<uint8_t>(code >> 8);
    r[8] = r[3];
    r[9] = r[4];
    r[10] |= 0x21;  // narrow, low power
    r[14] = p.k;
    r[15] = p.s;
  }
  ChannelRecord last = image.channel(kChannelCount - 1);
  last[14] = 0;
  last[15] = 0;
  last[3] = 0x70;
  last[4] = 0x06;
  last[2] &= 0x0F;
  last[2] &= 0xF7;
  last[7] = last[2];
  last[8] = last[3];
  last[9] = last[4];

  auto f = image.functions();
  f[0] |= 0x10;
  f[4] = 0;
  f[12] = static_cast<uint8_t>((f[12] | 0x02) & 0xFE);
}

}  // namespace

ChannelFamily FamilyForCode(int modelCode) {
  if (modelCode == 32) return ChannelFamily::Fixed446;
  switch (modelCode) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
    case 11:
      return ChannelFamily::Step5;
    default:
      return ChannelFamily::Step625;
  }
}

void SetDefaultFunctions(Image& image) {
  std::ranges::copy(kDefaultFunctionBlock, image.functions().begin());
}

void SetDefaultChannels(Image& image, const ModelEntry& model, const std::tm& now) {
  switch (FamilyForCode(model.code)) {
    case ChannelFamily::Fixed446:
      DefaultFixedChannels(image);
      break;
    case ChannelFamily::Step5:
      DefaultChannelsByStep(image, model, false);
      break;
    case ChannelFamily::Step625:
      DefaultChannelsByStep(image, model, true);
      break;
  }
  StampWriteDate(image.writeDate(), now);
}

void StampWriteDate(std::span<uint8_t> row, const std::tm& now) {
  auto clampInt = [](int v, int lo, int hi) { return std::clamp(v, lo, hi); };
  char digits[32];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d",
                clampInt(now.tm_year + 1900, 0, 9999), clampInt(now.tm_mon + 1, 0, 99),
                clampInt(now.tm_mday, 0, 99), clampInt(now.tm_hour, 0, 99),
                clampInt(now.tm_min, 0, 99), clampInt(now.tm_sec, 0, 99));
  for (size_t i = 0; i < row.size(); ++i) row[i] = i < 14 ? static_cast<uint8_t>(digits[i]) : 0;
}

std::tm LocalTimeNow() {
  std::time_t t = std::time(nullptr);
  std::tm out{};
#if defined(_WIN32)
  localtime_s(&out, &t);
#else
  localtime_r(&t, &out);
#endif
  return out;
}

}  // namespace qm
