// Fixed signalling tables shared by the codecs, the editors and the defaults.
#pragma once

#include <array>
#include <cstdint>

namespace qm {

// CTCSS tones in Hz. Index 0 means "no tone"; 1..38 are the EIA series without 69.3 Hz.
inline constexpr std::array<double, 39> kCtcTones = {
    0.0,   67.0,  71.9,  74.4,  77.0,  79.7,  82.5,  85.4,  88.5,  91.5,  94.8,  97.4,  100.0,
    103.5, 107.2, 110.9, 114.8, 118.8, 123.0, 127.3, 131.8, 136.5, 141.3, 146.2, 151.4, 156.7,
    162.2, 167.9, 173.8, 179.9, 186.2, 192.8, 203.5, 210.7, 218.1, 225.7, 233.6, 241.8, 250.3};

// DCS codes, each written with its octal digits read as a decimal number (23 is DCS 023).
inline constexpr std::array<int16_t, 83> kDcsCodes = {
    23,  25,  26,  31,  32,  43,  47,  51,  54,  65,  71,  72,  73,  74,  114, 115, 116,
    125, 131, 132, 134, 143, 152, 155, 156, 162, 165, 172, 174, 205, 223, 226, 243, 244,
    245, 251, 261, 263, 265, 271, 306, 311, 315, 331, 343, 346, 351, 364, 365, 371, 411,
    412, 413, 423, 431, 432, 445, 464, 465, 466, 503, 506, 516, 532, 546, 565, 606, 612,
    624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

// The octal digits of a table entry as the 9-bit number the radio stores (23 -> 19).
constexpr int DcsOctalValue(int decimalDigits) {
  int value = 0;
  int scale = 1;
  while (decimalDigits > 0) {
    value += (decimalDigits % 10) * scale;
    decimalDigits /= 10;
    scale *= 8;
  }
  return value;
}

}  // namespace qm
