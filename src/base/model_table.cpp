#include "base/model_table.h"

#include <optional>

#include "base/text_util.h"

namespace qm {

namespace {

// A model code: the text's leading number, rounded as a 16-bit integer. Codes beyond that
// range cannot come from a radio; they are held at its ends instead of wrapping round.
int16_t CodeValue(const std::string& text) {
  double v = LeadingNumber(text);
  if (v < -32768.0) v = -32768.0;
  if (v > 32767.0) v = 32767.0;
  return static_cast<int16_t>(RoundHalfEven(v));
}

// A frequency written in units of 10 Hz, in MHz.
double FreqValue(const std::string& text) { return LeadingNumber(text) / 100000.0; }

}  // namespace

void LoadModelTable(AppState& app, const ProfileFile& maker) {
  LoadModelTable(app, maker.snapshot());
}

void LoadModelTable(AppState& app, const ProfileSnapshot& maker) {
  constexpr std::string_view kSection = "Radio List";
  app.models.clear();
  // The name and code keys count from 1, the range keys from 0.
  for (int i = 0; i < app.modelCount; ++i) {
    const std::string n1 = std::to_string(i + 1);
    const std::string n0 = std::to_string(i);
    ModelEntry e;
    e.name = std::string(TrimSpaces(maker.read(kSection, "RadioName" + n1, "ZR-410(" + n0 + ")")));
    e.code = CodeValue(maker.read(kSection, "RadioValue" + n1, n0));
    e.rangeLow = FreqValue(maker.read(kSection, "StdFreqRange" + n0, n0));
    e.rangeHigh = FreqValue(maker.read(kSection, "EndFreqRange" + n0, n0));
    e.extendLow = FreqValue(maker.read(kSection, "StdFreqExtend" + n0, n0));
    e.extendHigh = FreqValue(maker.read(kSection, "EndFreqExtend" + n0, n0));
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
