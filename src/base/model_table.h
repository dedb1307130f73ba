// The radio model table (AppState::models, filled from the maker file by LoadModelTable in
// document/config.h), the selected model and the texts that show a model's band.
#pragma once

#include <cstdint>
#include <string>

#include "base/app_state.h"

namespace qm {

// The model code of the selected model.
uint8_t ConvRdInnValue(const AppState& app);

// Makes the first model with this code (image byte 0x2D2, Image::modelCode) the selected
// one; returns whether one matched (otherwise the selection stays).
bool ConvertModel(AppState& app, int modelCode);

// The first model index with this code, or -1.
int FindModelByCode(const AppState& app, int code);

// The band text of model m in its status-bar form (gBandText, lblFreqBand) ...
std::string BuildBandText(const AppState& app, int m);
// ... and in the form of the main window's label lblFreqRange.
std::string BuildRangeLabelText(const AppState& app, int m);
// "ZR410[" + band text + "]", status bar panel 2.
std::string StatusBandPanel(const std::string& bandText);

}  // namespace qm
