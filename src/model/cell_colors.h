// The grids' colours as they are drawn: each cell's colour role turned into a text and a
// background colour on the palette the desktop theme gives. The roles keep their meaning in
// a light and a dark theme alike: every text stays readable on what it is drawn on, at the
// contrast the accessibility guidelines ask of body text (4.5:1).
#pragma once

#include <cstdint>

namespace qm {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kActiveRgb{0, 120, 100};
inline constexpr Rgb kInactiveRgb{120, 0, 40};
inline constexpr Rgb kSignalCellBackground{255, 255, 0};  // while the signal dialog is open
// A value rejected by its load check, and the tune channel the items are adjusted on.
inline constexpr Rgb kMarkRed{255, 0, 0};

inline constexpr double kMinTextContrast = 4.5;

// Relative luminance (0 black .. 1 white) of an sRGB colour.
double RelativeLuminance(Rgb c);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(Rgb a, Rgb b);
// `wanted` when it reads on `background`; otherwise the least shade of it towards white (on a
// dark background) or black (on a light one) that does, so red stays red and green green.
Rgb ReadableOn(Rgb wanted, Rgb background);

// The colours of the theme a grid is drawn in.
struct ThemeColors {
  Rgb base;          // a field's background
  Rgb text;          // a field's text
  Rgb button;        // the button face
  Rgb disabledText;  // the text of a control that is switched off
};

struct CellLook {
  Rgb text;
  Rgb background;
  bool operator==(const CellLook&) const = default;
};

}  // namespace qm
