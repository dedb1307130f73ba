// Default data for a new image: the function block, the channel area by the model's
// family, and the write-date stamp.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <span>

#include "base/app_state.h"
#include "model/image.h"

namespace qm {

inline constexpr std::array<uint8_t, 16> kDefaultFunctionBlock = {
    0x68, 0x03, 0x00, 0x05, 0x01, 0x00, 0x30, 0x06, 0xFF, 0xFF, 0x01, 0x05, 0x28, 0x00, 0x00, 0x00};

enum class ChannelFamily { Step5, Step625, Fixed446 };
ChannelFamily FamilyForCode(int modelCode);

// The fixed-channel family (code 32): 446 MHz channel number k and signalling number s
// (1..38 a CTCSS tone, 39 and up 39 + a DCS table index) of channels 1..15.
struct PresetChannel {
  uint8_t k;
  uint8_t s;
};
inline constexpr std::array<PresetChannel, 15> kPresetChannels = {{{1, 3},
                                                                   {5, 8},
                                                                   {3, 11},
                                                                   {7, 2},
                                                                   {2, 5},
                                                                   {6, 1},
                                                                   {4, 7},
                                                                   {8, 43},
                                                                   {1, 51},
                                                                   {5, 52},
                                                                   {3, 53},
                                                                   {7, 54},
                                                                   {2, 21},
                                                                   {6, 22},
                                                                   {4, 23}}};

// Writes the 16 default bytes into the function block.
void SetDefaultFunctions(Image& image);

// Rewrites the channel area for the model (its code and lower standard band edge), adjusts
// the function block for the fixed-channel family and stamps the write-date row with `now`.
// The caller clears dataChanged and refreshes the editors.
void SetDefaultChannels(Image& image, const ModelEntry& model, const std::tm& now);

// Bytes 0-13: the ASCII digits YYYYMMDDhhmmss of `now`; every further byte zero. A row
// shorter than 14 bytes gets the digits that fit.
void StampWriteDate(std::span<uint8_t> row, const std::tm& now);

// The local date and time now (the program's clock seam uses it by default).
std::tm LocalTimeNow();

}  // namespace qm
