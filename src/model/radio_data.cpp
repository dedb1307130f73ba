#include "model/radio_data.h"

#include "base/model_table.h"
#include "model/layout.h"

namespace qm {

void FillIdentBlock(Row block, uint8_t modelCode) {
  Ident ident = DecodeIdent(block);
  ident.modelCode = modelCode;
  ident.minorVersion = 0;
  ident.zero = 0;
  ident.identity = std::string(kIdentityText);
  EncodeIdent(ident, block);
}

RadioEditors::RadioEditors(AppState& app, EditFlags& flags, Prompter& prompter,
                           std::function<uint8_t()> identModelByte)
    : app_(app), flags_(flags), channels_(app, flags, prompter), functions_(app, flags, prompter) {
  channels_.setIdentModelByteSource(std::move(identModelByte));
  // The grid's bandwidth column follows the radio-wide bandwidth list both ways: it reads
  // the list's text when it colours a row, and the list's click recolours the column.
  channels_.setRadioBandwidthSource([this] { return functions_.text(Fn::Bandwidth); });
  functions_.setBandwidthListener(
      [this](const std::string& text) { channels_.ApplyRadioBandwidth(text); });
}

void RadioEditors::DisplayRadioData(const Image& image) {
  const EditFlags remembered = flags_;
  functions_.LoadFunctions(image.functions());
  app_.bandText = BuildBandText(app_, app_.curModel);
  channels_.DisplayChannels(image);
  flags_.dataChanged = remembered.dataChanged;
  flags_.functionsChanged = remembered.functionsChanged;
}

void RadioEditors::CollectInto(Image& image) const {
  FillIdentBlock(image.ident(), ConvRdInnValue(app_));
  functions_.StoreFunctions(image.functions());
  channels_.SaveChannels(image);
}

void RadioEditors::CollectRadioData(Image& image) {
  CollectInto(image);
  flags_.functionsChanged = false;
  flags_.dataChanged = false;
}

}  // namespace qm
