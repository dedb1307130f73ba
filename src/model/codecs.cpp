#include "model/codecs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/text_util.h"
#include "base/tr.h"

namespace qm {

namespace {

// Both rasters measured in Hz so that rounding is exact.
constexpr int64_t kStep625Hz = 6250;
constexpr int64_t kStep5Hz = 5000;
constexpr int64_t kMaxCount = 0x3FFFF;

struct RasterChoice {
  int64_t count;
  bool step625;
};

// The errors of both rasters are compared on the value as typed.
RasterChoice ChooseRaster(double mhz, bool only625) {
  const FineFreq f = MhzToFine(mhz);
  int64_t n6 = StepCount(f, kStep625Hz);
  int64_t e6 = std::llabs(f.value - n6 * kStep625Hz * f.unitsPerHz);
  int64_t n5 = StepCount(f, kStep5Hz);
  int64_t e5 = std::llabs(f.value - n5 * kStep5Hz * f.unitsPerHz);
  if (!only625 && e5 < e6) return {n5, false};
  return {n6, true};
}

}  // namespace

FineFreq MhzToFine(double mhz) {
  // 9000 MHz in microhertz is still below 2^53, where a double counts whole units.
  if (std::fabs(mhz) < 9000.0) return {std::llround(mhz * 1e12), 1'000'000};
  return {std::llround(mhz * 1e6), 1};
}

int64_t StepCount(const FineFreq& f, int64_t stepHz) {
  return DivRoundHalfEven(f.value, stepHz * f.unitsPerHz);
}

int64_t FreqBytesToHz(uint8_t b0, uint8_t b1, uint8_t b2) {
  int64_t n = (int64_t{b2} & 3) * 65536 + int64_t{b1} * 256 + b0;
  return (b2 & 4) ? n * kStep625Hz : n * kStep5Hz;
}

std::string FreqBytesToText(uint8_t b0, uint8_t b1, uint8_t b2, char sep) {
  return FormatFreq(static_cast<double>(FreqBytesToHz(b0, b1, b2)) / 1e6, sep);
}

void FreqTextToBytes(std::string_view text, uint8_t& b0, uint8_t& b1, uint8_t& b2, char sep) {
  auto f = ParseNumber(text, sep);
  if (!f) return;
  RasterChoice r = ChooseRaster(*f, false);
  // The field holds an unsigned 18-bit count; a negative or huge entry must not wrap into
  // a different frequency or spill into the neighbouring bits, so it ends at the nearer
  // end of the field.
  r.count = std::clamp<int64_t>(r.count, 0, kMaxCount);
  b0 = static_cast<uint8_t>(r.count & 0xFF);
  b1 = static_cast<uint8_t>((r.count & 0xFF00) >> 8);
  b2 = static_cast<uint8_t>((b2 & 0xF8) | ((r.count & 0x30000) >> 16) | (r.step625 ? 4 : 0));
}

double CheckFreqRange(double f, const ModelEntry& model, Prompter& prompter) {
  if (model.extendLow <= f && f <= model.extendHigh) return f;
  Notify(prompter, kAppTitle, QM_TR("频率超过范围！"), Icon::Exclamation);
  return f < model.extendLow ? model.extendLow : model.extendHigh;
}

ValidFreq getValidFreq(std::string_view text, const AppState& app, uint8_t identModelByte,
                       Prompter& prompter) {
  if (text.empty()) return {};
  auto f = ParseNumber(text, app.decimalSep);
  if (!f) return {};
  return ValidFreqFromMhz(*f, app, identModelByte, prompter);
}

ValidFreq ValidFreqFromMhz(double mhz, const AppState& app, uint8_t identModelByte,
                           Prompter& prompter) {
  ValidFreq out;
  double clamped = CheckFreqRange(mhz, app.currentModel(), prompter);
  RasterChoice r = ChooseRaster(clamped, identModelByte == kOnly625ModelByte);
  out.hz = r.count * (r.step625 ? kStep625Hz : kStep5Hz);
  // Formatting with five decimals keeps the result on 10 Hz, as the text shows it.
  out.mhz = static_cast<double>(DivRoundHalfEven(out.hz, 10)) / 1e5;
  out.flag = 1;
  return out;
}

bool StepFitsRaster(double stepKhz, uint8_t identModelByte) {
  const FineFreq step = MhzToFine(stepKhz / 1000.0);
  auto fits = [&](int64_t rasterHz) { return step.value % (rasterHz * step.unitsPerHz) == 0; };
  return fits(kStep625Hz) || (identModelByte != kOnly625ModelByte && fits(kStep5Hz));
}

std::string ExactFreqText(double mhz, char sep) {
  const FineFreq f = MhzToFine(mhz);
  const int64_t perMhz = f.unitsPerHz * 1'000'000;
  const int64_t a = std::llabs(f.value);
  std::string frac = std::to_string(perMhz + a % perMhz).substr(1);
  while (frac.size() > 6 && frac.back() == '0') frac.pop_back();
  // Appended piece by piece: GCC 12 in Release sees a false overlap in "-" + std::string.
  std::string out = f.value < 0 ? "-" : "";
  out += std::to_string(a / perMhz);
  out += sep;
  out += frac;
  return out;
}

std::string CtcBytesToText(uint8_t lo, uint8_t hi) {
  int tenths =
      ((hi & 0x30) >> 4) * 1000 + (hi & 0x0F) * 100 + ((lo & 0xF0) >> 4) * 10 + (lo & 0x0F);
  return FormatFixed(tenths / 10.0, 2, 1);
}

std::string DcsBytesToText(uint8_t lo, uint8_t hi) {
  int code = (hi & 1) * 256 + lo;
  char buf[8];
  std::snprintf(buf, sizeof buf, "%03o", code);
  return buf;
}

std::string SignalBytesToText(uint8_t t, uint8_t lo, uint8_t hi, char sep) {
  switch (t & 0xF0) {
    case 0x30: {
      std::string tone = CtcBytesToText(lo, hi);
      if (sep != '.')
        for (char& c : tone)
          if (c == '.') c = sep;
      return "CTC " + tone;
    }
    case 0x50:
      return "DCS " + DcsBytesToText(lo, hi);
    case 0x70:
      return "-DCS " + DcsBytesToText(lo, hi);
    case 0x80:
      return "TTS " + std::to_string(lo);
    default:
      return "OFF";
  }
}

uint16_t CtcToneCode(double tone) {
  int64_t v = RoundHalfEven(tone * 10.0);
  if (v < 0) v = 0;
  // The decimal digits of v read as hexadecimal digits.
  uint32_t c = 0;
  uint32_t scale = 1;
  while (v > 0) {
    c += static_cast<uint32_t>(v % 10) * scale;
    v /= 10;
    scale *= 16;
  }
  return static_cast<uint16_t>(c & 0xFFFF);
}

int16_t SignalTextToBytes(std::string_view text, uint8_t& t, uint8_t& lo, uint8_t& hi, char sep) {
  t &= 0x0F;
  lo = 0;
  hi = 0;
  auto right = [&](size_t n) { return text.size() <= n ? text : text.substr(text.size() - n); };
  char first = text.empty() ? '\0' : text[0];
  switch (first) {
    case 'O':
      return 1;
    case 'C': {
      auto tone = ParseNumber(right(5), sep);
      if (!tone) return 0;
      uint16_t c = CtcToneCode(*tone);
      hi = static_cast<uint8_t>(c >> 8);
      lo = static_cast<uint8_t>(c & 0xFF);
      t |= 0x30;
      return 1;
    }
    case 'D':
    case '-': {
      auto num = ParseNumber(right(4), sep);
      if (!num) return 0;
      int64_t digits = RoundHalfEven(*num);
      if (digits < 0) digits = -digits;
      // Read the decimal digits as octal digits, stopping at the first 8 or 9.
      std::string s = std::to_string(digits);
      int64_t value = 0;
      for (char ch : s) {
        if (ch == '8' || ch == '9') break;
        value = value * 8 + (ch - '0');
        if (value > 511) value = 512;  // saturate; clamped below
      }
      if (value < 8) value = 8;
      if (value > 511) value = 511;
      hi = static_cast<uint8_t>(value / 256);
      lo = static_cast<uint8_t>(value & 0xFF);
      t |= first == 'D' ? 0x50 : 0x70;
      return 1;
    }
    case 'T': {
      std::string_view trimmed = TrimSpaces(text);
      char last = trimmed.empty() ? '\0' : trimmed.back();
      if (last < '0' || last > '9') return 0;
      lo = static_cast<uint8_t>(last - '0');
      t |= 0x80;
      return 1;
    }
    default:
      return 1;
  }
}

}  // namespace qm
