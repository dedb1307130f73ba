// A tune mode bench: a simulated radio with its tune state behind a fake port on the
// virtual clock, the document fields tune mode works on, and a controller over them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "base/app_state.h"
#include "model/edit_flags.h"
#include "model/image.h"
#include "radio/link.h"
#include "radio/radio_fixture.h"
#include "sim/radio_sim.h"
#include "sim/tune_sim.h"
#include "support/fake_prompter.h"
#include "tune/tune_controller.h"

namespace qm::test {

inline AppState TuneApp() {
  AppState app;
  app.models = {ModelEntry{"QM830K-V1", 1, 136.0, 174.0, 130.0, 180.0},
                ModelEntry{"QM830K-U1", 2, 400.0, 470.0, 400.0, 480.0}};
  app.modelCount = 2;
  app.curModel = 0;
  return app;
}

// A tune channel record switched on, transmit allowed, on `mhz` with the 6.25 kHz step,
// with the transmit signalling type byte `txKind` (high nibble) and code bytes c1 c2.
inline void PutTuneChannel(std::span<uint8_t, 1024> mem, int row, double mhz, uint8_t txKind,
                           uint8_t c1, uint8_t c2) {
  const size_t base = 0x100 + 16 * static_cast<size_t>(row);
  const auto n = static_cast<uint32_t>(mhz * 1000 / 6.25 + 0.5);
  mem[base + 0] = mem[base + 5] = static_cast<uint8_t>(n & 0xFF);
  mem[base + 1] = mem[base + 6] = static_cast<uint8_t>((n >> 8) & 0xFF);
  mem[base + 2] = static_cast<uint8_t>(((n >> 16) & 3) | 0x04 | 0x08);
  mem[base + 7] = static_cast<uint8_t>(((n >> 16) & 3) | 0x04 | 0x08 | txKind);
  mem[base + 8] = c1;
  mem[base + 9] = c2;
}

struct TuneRig {
  TuneRig() : ctl(app, prompter, refs(), TuneLinkParts{line.port, line.clock, progress}) {
    line.radio.setExtension(&tune);
    radio().modelCode = 1;
  }

  TuneDocumentRefs refs() {
    return TuneDocumentRefs{image,          flags,       viewMode,      tuneState,
                            curTuneChannel, curTuneItem, tuneGridShown, modelByte,
                            imageVerMajor,  portNumber,  caption,       captionAfterTune,
                            statusBand};
  }
  LinkContext ctx() { return LinkContext{line.port, line.clock, prompter, progress, app, 1}; }
  std::span<uint8_t, 1024> mem() { return line.radio.memory(); }
  sim::RadioConfig& radio() { return line.radio.config(); }

  // Every write of the PC since the last clearWrites, as hexadecimal text.
  std::vector<std::string> sent() const {
    std::vector<std::string> out;
    for (const auto& w : line.port.writes()) out.push_back(sim::HexBytes(w.bytes));
    return out;
  }
  void clearWrites() { line.port.clearWrites(); }

  AppState app = TuneApp();
  FakePrompter prompter;
  RecordingProgress progress;
  sim::SimLine line;
  sim::TuneSim tune;

  Image image;
  EditFlags flags;
  ViewMode viewMode = ViewMode::Channels;
  TuneState tuneState = TuneState::Off;
  int16_t curTuneChannel = 0;
  int16_t curTuneItem = 0;
  bool tuneGridShown = false;
  uint8_t modelByte = 0;
  int16_t imageVerMajor = 0;
  int16_t portNumber = 1;
  std::string caption = "QM830K编程软件";
  std::string captionAfterTune;
  std::string statusBand;

  TuneController ctl;
};

}  // namespace qm::test
