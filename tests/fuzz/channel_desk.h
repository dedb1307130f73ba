// The channel grid of one model with its undo history, wired as the window wires them, for
// the targets and seeds that paste or import channels. Models come from the installation's
// maker file.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/app_state.h"
#include "base/capturing_prompter.h"
#include "base/model_table.h"
#include "document/config.h"
#include "document/edit_history.h"
#include "model/defaults.h"
#include "model/edit_flags.h"
#include "model/image.h"
#include "model/radio_data.h"
#include "platform/system_text_codec.h"

namespace qm::fuzz {

// The installation's model table; model `code` selected, numbers written with `sep`.
inline AppState InstalledApp(int code, char sep) {
  static const SystemTextCodec codec;
  AppState app;
  // As start-up reads it; the program's own configuration file is not used here.
  LoadStartupConfig(QM_TEST_DATA, QM_MAKER_FILE, app, codec, "unused.ini");
  const int m = FindModelByCode(app, code);
  if (m < 0) std::abort();  // the maker file no longer lists it: the setups need a look
  app.curModel = static_cast<int16_t>(m);
  app.decimalSep = sep;
  return app;
}

class ChannelDesk {
 public:
  ChannelDesk(int code, char sep) : app(InstalledApp(code, sep)) {
    SetDefaultFunctions(defaults_);
    SetDefaultChannels(defaults_, app.currentModel(), std::tm{});
    FillIdentBlock(defaults_.ident(), static_cast<uint8_t>(code));
    reset();
  }

  // The model's default data, shown; no history.
  void reset() {
    image = defaults_;
    editors.DisplayRadioData(image);
    flags = EditFlags{};
    history.clear();
  }
  ChannelTableModel& grid() { return editors.channels(); }
  // The image with the grid's channels, as a save would write them.
  Image saved() const {
    Image out = image;
    editors.channels().SaveChannels(out);
    return out;
  }

  AppState app;
  Image image;
  EditFlags flags;
  CapturingPrompter prompter;
  RadioEditors editors{app, flags, prompter, [this] { return image.modelCode(); }};
  EditHistory history{image, flags, editors};

 private:
  Image defaults_;
};

}  // namespace qm::fuzz
