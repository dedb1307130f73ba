// Text forms of frequencies and CTC/DCS signalling, and the band check of every
// frequency entry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/app_state.h"
#include "base/prompter.h"

namespace qm {

// "000.00000" of the frequency held in a record's three frequency bytes.
std::string FreqBytesToText(uint8_t b0, uint8_t b1, uint8_t b2, char sep = '.');

// Encodes a frequency text into the three bytes; bits 7-3 of b2 stay. A text that is not
// a number leaves the bytes unchanged. Exact multiples of 25 kHz, and ties, take the
// 6.25 kHz raster.
void FreqTextToBytes(std::string_view text, uint8_t& b0, uint8_t& b1, uint8_t& b2, char sep = '.');

// The frequency in Hz that the three bytes hold.
int64_t FreqBytesToHz(uint8_t b0, uint8_t b1, uint8_t b2);

// A frequency typed in MHz on an integer scale fine enough to snap it to a raster as
// typed: `units` per Hz. Microhertz keeps every digit a frequency is typed with and drops
// the binary noise of the double, so "446.0031251" stays just past the half step it would
// become if rounded to whole Hz first. Beyond 9 GHz a double no longer holds microhertz
// and the scale is whole Hz.
struct FineFreq {
  int64_t value;
  int64_t unitsPerHz;
};
FineFreq MhzToFine(double mhz);
// The nearest whole number of steps of `stepHz` to f, ties to the even count.
int64_t StepCount(const FineFreq& f, int64_t stepHz);

// Clamps f (MHz) to the model's extended band; outside it, says "频率超过范围！".
double CheckFreqRange(double f, const ModelEntry& model, Prompter& prompter);

// The identification byte (image 0x2D2) of the models that have the 6.25 kHz raster only.
inline constexpr uint8_t kOnly625ModelByte = 0x20;

struct ValidFreq {
  double mhz = 0.0;
  int16_t flag = 0;  // 1 = success
  int64_t hz = 0;    // the frequency the record will hold
};

// The grid's frequency check: number, band clamp, raster snap (6.25 kHz only when the
// identification block's model byte is 0x20).
ValidFreq getValidFreq(std::string_view text, const AppState& app, uint8_t identModelByte,
                       Prompter& prompter);
// The same check on a number already read (MHz): every frequency that reaches a channel
// record, typed, pasted, imported or filled, is snapped here and nowhere else.
ValidFreq ValidFreqFromMhz(double mhz, const AppState& app, uint8_t identModelByte,
                           Prompter& prompter);

// Whether every multiple of a step (kHz) lands on the same raster: a multiple of 6.25 kHz,
// or of 5 kHz where the radio has the 5 kHz raster too.
bool StepFitsRaster(double stepKhz, uint8_t identModelByte);

// A frequency (MHz) for reports that quote a value before the raster moved it: six
// decimals, more when it was given with more (down to the microhertz).
std::string ExactFreqText(double mhz, char sep = '.');

std::string CtcBytesToText(uint8_t lo, uint8_t hi);  // "#00.0"
std::string DcsBytesToText(uint8_t lo, uint8_t hi);  // three octal digits
std::string SignalBytesToText(uint8_t t, uint8_t lo, uint8_t hi, char sep = '.');
// Parses a signalling text into the type nibble (the low nibble of t stays) and code bytes.
int16_t SignalTextToBytes(std::string_view text, uint8_t& t, uint8_t& lo, uint8_t& hi,
                          char sep = '.');

// The code word of a CTCSS tone: the decimal digits of tone x 10 read as hexadecimal.
uint16_t CtcToneCode(double tone);

}  // namespace qm
