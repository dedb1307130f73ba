#include "model/defaults.h"

#include <algorithm>
#include <cstdio>

#include "base/tables.h"
#include "base/text_util.h"
#include "model/codecs.h"
#include "model/layout.h"

namespace qm {

namespace {

void DefaultChannelsByStep(Image& image, const ModelEntry& model, bool step625) {
  // A band edge from a hand-edited model list can be anything; the frequency field ends
  // at its 18 bits, so it never spills into the step-unit, in-use or signalling bits.
  const double unitKhz = step625 ? 6.25 : 5.0;
  const int64_t n = std::max<int64_t>(RoundHalfEven(model.rangeLow * 1000.0 / unitKhz), 0);
  Channel ch;
  ch.rx = Frequency::Of(std::min<int64_t>(n, int64_t{1} << 20) * (step625 ? 6250 : 5000), step625);
  ch.tx = ch.rx;
  ch.inUse = true;
  ch.txAllowed = true;
  ch.presetChannel = 1;
  ch.presetSignal = 1;
  for (int c = 0; c < kChannelCount; ++c) {
    if (c == kChannelCount - 1) {
      ch.inUse = false;
      ch.txAllowed = false;
      ch.presetChannel = 0;
    }
    EncodeChannel(ch, image.channel(c).bytes());
  }
}

void DefaultFixedChannels(Image& image) {
  for (int c = 0; c < kChannelCount; ++c) {
    PresetChannel p = c < static_cast<int>(kPresetChannels.size())
                          ? kPresetChannels[static_cast<size_t>(c)]
                          : PresetChannel{1, 1};
    Channel ch = DecodeChannel(image.channel(c).bytes());
    // Preset channel k is 446.00625 MHz + 12.5 kHz x (k - 1), on the 6.25 kHz raster.
    ch.rx = Frequency::Of((0x116C1 + 2 * int64_t{p.k - 1}) * 6250, true);
    ch.tx = ch.rx;
    ch.inUse = true;
    ch.txAllowed = true;
    if (p.s <= 38)
      ch.rxSignal = Signal{0x3, CtcToneCode(kCtcTones[p.s])};
    else
      ch.rxSignal = Signal{
          0x5, static_cast<uint16_t>(DcsOctalValue(kDcsCodes[static_cast<size_t>(p.s - 39)]))};
    ch.txSignal = ch.rxSignal;
    ch.bandwidth = Bandwidth::Narrow;
    ch.power = Power::Low;
    ch.presetChannel = p.k;
    ch.presetSignal = p.s;
    if (c == kChannelCount - 1) {
      // The spare channel: off, no signalling, the first tone's code left in its bytes.
      ch.inUse = false;
      ch.txAllowed = false;
      ch.rxSignal = Signal{0, CtcToneCode(kCtcTones[1])};
      ch.txSignal = ch.rxSignal;
      ch.presetChannel = 0;
      ch.presetSignal = 0;
    }
    EncodeChannel(ch, image.channel(c).bytes());
  }

  Functions f = DecodeFunctions(image.functions());
  f.scanMode = static_cast<uint8_t>(f.scanMode | 2);  // time scan
  f.powerKey = 0;
  f.powerKeySpare = 0;
  f.bandwidth = Bandwidth::Narrow;
  f.manualMode = false;
  EncodeFunctions(f, image.functions());
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
  // The iterator form: the ranges one is missing from some standard libraries the core is
  // built with.
  std::copy(kDefaultFunctionBlock.begin(), kDefaultFunctionBlock.end(), image.functions().begin());
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
