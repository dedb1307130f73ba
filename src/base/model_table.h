// The radio model table from the maker configuration file, the selected model and the
// texts that show a model's band.
#pragma once

#include <cstdint>
#include <string>

#include "base/app_state.h"
#include "files/profile.h"
#include "model/image.h"

namespace qm {

// Fills app.models (app.modelCount entries) from section "Radio List" of the maker file.
void LoadModelTable(AppState& app, const ProfileFile& maker);
// The same from a file already read once (six keys per model would otherwise mean six
// readings of the file per model).
void LoadModelTable(AppState& app, const ProfileSnapshot& maker);

// The model code of the selected model.
uint8_t ConvRdInnValue(const AppState& app);

// Makes the first model whose code equals image byte 0x2D2 the selected one; returns
// whether one matched (otherwise the selection stays).
bool ConvertModel(AppState& app, const Image& image);

// The first model index with this code, or -1.
int FindModelByCode(const AppState& app, int code);

// The band text of model m in its status-bar form (gBandText, lblFreqBand) ...
std::string BuildBandText(const AppState& app, int m);
// ... and in the form of the main window's label lblFreqRange.
std::string BuildRangeLabelText(const AppState& app, int m);
// "ZR410[" + band text + "]", status bar panel 2.
std::string StatusBandPanel(const std::string& bandText);

}  // namespace qm
