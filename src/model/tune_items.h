// The tune item values (image 0x2F0-0x2F6): one byte for each of the seven items tune mode
// adjusts, item code = index + 1. Their names belong to the image: the tune tree, the item
// panel, the command line and the comparison of two images show them. What the radio is
// sent for each item is tune mode's (kTuneItemSpecs, tune/tune_protocol.h).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "base/tr.h"

namespace qm {

inline constexpr int kTuneItemCount = 7;

struct TuneItemName {
  const char* key;           // node key of the tune tree
  const char* treeText;      // text of its tree node
  const char* panelCaption;  // caption of the item panel fraTune
};

inline constexpr std::array<TuneItemName, kTuneItemCount> kTuneItems = {{
    {"Battery", QM_TR("电池低压电平"), QM_TR("电池低电压电平")},
    {"SqlTight", QM_TR("第9级静噪电平"), QM_TR("第9级静噪电平")},
    {"SqlOpen", QM_TR("第3级静噪电平"), QM_TR("第3级静噪电平")},
    {"CTCDevW", QM_TR("CTC 频偏(宽带)"), QM_TR("CTC频偏(宽带)")},
    {"DCSDevW", QM_TR("DCS 频偏(宽带)"), QM_TR("DCS频偏(宽带)")},
    {"CTCDevN", QM_TR("CTC 频偏(窄带)"), QM_TR("CTC频偏(窄带)")},
    {"DCSDevN", QM_TR("DCS 频偏(窄带)"), QM_TR("DCS 频偏(窄带)")},
}};

// The item code (1..7) of a node key, or 0.
constexpr int TuneItemCodeOfKey(std::string_view key) {
  for (size_t i = 0; i < kTuneItems.size(); ++i) {
    if (key == kTuneItems[i].key) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace qm
