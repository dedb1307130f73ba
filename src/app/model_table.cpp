#include "app/model_table.h"

#include <optional>

#include "app/text_util.h"

namespace qm {

namespace {

// Numeric value of a configuration text: its leading number, 0 for letters.
double NumericValue(const std::string& text) { return LeadingNumber(text); }

}  // namespace

void LoadModelTable(AppState& app, const ProfileFile& maker) {
  app.models.clear();
  for (int i = 0; i < app.modelCount; ++i) {
    std::string n1 = std::to_string(i + 1);
    std::string n0 = std::to_string(i);
    ModelEntry e;
    e.name = std::string(TrimSpaces(maker.read("Radio List", "RadioName" + n1, "ZR-410(" + n0 + ")")));
    e.code = static_cast<int16_t>(NumericValue(maker.read("Radio List", "RadioValue" + n1, n0)));
    e.rangeLow = NumericValue(maker.read("Radio List", "StdFreqRange" + n0, n0)) / 100000.0;
    e.rangeHigh = NumericValue(maker.read("Radio List", "EndFreqRange" + n0, n0)) / 100000.0;
    e.extendLow = NumericValue(maker.read("Radio List", "StdFreqExtend" + n0, n0)) / 100000.0;
    e.extendHigh = NumericValue(maker.read("Radio List", "EndFreqExtend" + n0, n0)) / 100000.0;
    app.models.push_back(std::move(e));
  }
}

uint8_t ConvRdInnValue(const AppState& app) {
  return static_cast<uint8_t>(app.currentModel().code & 0xFF);
}

int FindModelByCode(const AppState& app, int code) {
  for (size_t i = 0; i < app.models.size(); ++i)
    if (app.models[i].code == code) return static_cast<int>(i);
  return -1;
}

bool ConvertModel(AppState& app, const Image& image) {
  int m = FindModelByCode(app, image.modelCode());
  if (m < 0) return false;
  app.curModel = static_cast<int16_t>(m);
  return true;
}

namespace {

std::optional<std::string> FixedBand(int m) {
  switch (m) {
    case 0: return "136-154";
    case 1: return "146-174";
    case 3: return "440-470";
    case 4: return "420-440/420-450";
    default: return std::nullopt;
  }
}

}  // namespace

std::string BuildBandText(const AppState& app, int m) {
  const ModelEntry& e = app.model(m);
  std::string lo = ShortestNumber(e.rangeLow);
  std::string hi = ShortestNumber(e.rangeHigh);
  if (auto fixed = FixedBand(m)) return lo + "-" + hi + "/" + *fixed + "MHz";
  return lo + "-" + hi + " MHz";
}

std::string BuildRangeLabelText(const AppState& app, int m) {
  if (FixedBand(m)) return BuildBandText(app, m);
  const ModelEntry& e = app.model(m);
  return ShortestNumber(e.rangeLow) + " - " + ShortestNumber(e.rangeHigh) + " MHz";
}

std::string StatusBandPanel(const std::string& bandText) { return "ZR410[" + bandText + "]"; }

}  // namespace qm
