// Field-by-field comparison of two memory images, in the texts the editors show: channel
// cells and switches, function settings by label, the tune channel table, the tune item
// values and the embedded information. Every differing byte that no listed field explains
// (kept bits, areas held as read, a frequency stored on the other raster) is listed by its
// address, so that two images compare equal exactly when their bytes do.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "model/image.h"

namespace qm {

struct DiffEntry {
  std::string where;  // "信道3", "整机功能", "调测信道2", "调整项", "内嵌信息", "0x2C5"
  std::string what;  // the field ("接收频率", "发射限时", ...); empty for a raw byte
  std::string a;     // shown text in the first image
  std::string b;     // and in the second
};

struct ImageDiff {
  std::vector<DiffEntry> entries;
  bool equal() const { return entries.empty(); }
};

// The spare block of a data file is compared too when both are given.
ImageDiff DiffImages(const Image& a, const Image& b, const AppState& app);
ImageDiff DiffImages(const Image& a, const SpareBlock& spareA, const Image& b,
                     const SpareBlock& spareB, const AppState& app);

// One line per entry: "信道3 接收频率: 446.00625 -> 446.01875", "0x2C5: 00 -> 01". `shown`
// gives each part as the reader reads it (the command line's interface language).
std::string FormatDiff(const ImageDiff& diff,
                       const std::function<std::string(std::string_view)>& shown = {});

}  // namespace qm
