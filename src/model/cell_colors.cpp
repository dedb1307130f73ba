#include "model/cell_colors.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

double Linear(uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

uint8_t Mix(uint8_t from, uint8_t to, double t) {
  return static_cast<uint8_t>(std::lround(from + (to - from) * t));
}

}  // namespace

double RelativeLuminance(Rgb c) {
  return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double ContrastRatio(Rgb a, Rgb b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ReadableOn(Rgb wanted, Rgb background) {
  if (ContrastRatio(wanted, background) >= kMinTextContrast) return wanted;
  // White or black, whichever stands out more, always reaches the contrast (at least
  // 4.58:1 on any background); the smallest step towards it that does is kept.
  const Rgb white{255, 255, 255};
  const Rgb black{0, 0, 0};
  const Rgb target =
      ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
  for (int step = 1; step <= 100; ++step) {
    const double t = step / 100.0;
    const Rgb c{Mix(wanted.r, target.r, t), Mix(wanted.g, target.g, t), Mix(wanted.b, target.b, t)};
    if (ContrastRatio(c, background) >= kMinTextContrast) return c;
  }
  return target;
}

}  // namespace qm
