// The editors of the channel view together: the channel table and the function lists,
// wired to each other, and the two whole-image moves DisplayRadioData / CollectRadioData.
#pragma once

#include <cstdint>
#include <functional>

#include "base/app_state.h"
#include "base/prompter.h"
#include "model/channel_table.h"
#include "model/edit_flags.h"
#include "model/function_settings.h"
#include "model/image.h"

namespace qm {

class RadioEditors {
 public:
  // identModelByte gives image byte 0x2D2 of the document's image (the raster rule of
  // typed frequencies).
  RadioEditors(AppState& app, EditFlags& flags, Prompter& prompter,
               std::function<uint8_t()> identModelByte);
  RadioEditors(const RadioEditors&) = delete;
  RadioEditors& operator=(const RadioEditors&) = delete;

  ChannelTableModel& channels() { return channels_; }
  const ChannelTableModel& channels() const { return channels_; }
  FunctionSettingsModel& functions() { return functions_; }
  const FunctionSettingsModel& functions() const { return functions_; }

  // Image to editors; the band text of the selected model goes to app.bandText. Both
  // change flags end as they were.
  void DisplayRadioData(const Image& image);
  // Editors to image (identification bytes, function block, channel area); clears
  // dataChanged and functionsChanged.
  void CollectRadioData(Image& image);
  // The same bytes without clearing the flags: what a collection would make of the image.
  void CollectInto(Image& image) const;
  // Closes the channel grid's open frequency editor, applying it.
  bool CommitPendingEdit() { return channels_.CommitPendingEdit(); }

 private:
  AppState& app_;
  EditFlags& flags_;
  ChannelTableModel channels_;
  FunctionSettingsModel functions_;
};

// The identification bytes CollectRadioData writes: byte 2 the model code, 0 and 1 zero,
// 3-7 "2174Q".
void FillIdentBlock(Row ident, uint8_t modelCode);

}  // namespace qm
