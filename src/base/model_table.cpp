#include "base/model_table.h"

#include <optional>

#include "base/text_util.h"

namespace qm {

uint8_t ConvRdInnValue(const AppState& app) {
  return static_cast<uint8_t>(app.currentModel().code & 0xFF);
}

int FindModelByCode(const AppState& app, int code) {
  for (size_t i = 0; i < app.models.size(); ++i)
    if (app.models[i].code == code) return static_cast<int>(i);
  return -1;
}

bool ConvertModel(AppState& app, int modelCode) {
  int m = FindModelByCode(app, modelCode);
  if (m < 0) return false;
  app.curModel = static_cast<int16_t>(m);
  return true;
}

namespace {

std::optional<std::string> FixedBand(int m) {
  switch (m) {
    case 0:
      return "136-154";
    case 1:
      return "146-174";
    case 3:
      return "440-470";
    case 4:
      return "420-440/420-450";
    default:
      return std::nullopt;
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
