// A small model table and the editors wired as the document wires them, for the model tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "model/defaults.h"
#include "model/edit_flags.h"
#include "model/image.h"
#include "model/radio_data.h"
#include "support/fake_prompter.h"

namespace qm::test {

// Model 0: code 7 (6.25 kHz), 400-470 MHz; model 1: code 10 (5 kHz), 136-174 MHz;
// model 2: code 32 (446 MHz fixed channels); model 3: code 12, 136-154 MHz.
inline AppState TestApp() {
  AppState app;
  app.softwareTitle = "QM830K编程软件";
  app.modelCount = 4;
  app.models = {{"QM830K-U", 7, 400.0, 470.0, 400.0, 480.0},
                {"QM830K-V", 10, 136.0, 174.0, 136.0, 174.0},
                {"QM830K-P", 32, 446.0, 446.1, 446.0, 446.2},
                {"QM830K-L", 12, 136.0, 154.0, 130.0, 160.0}};
  app.curModel = 0;
  return app;
}

inline std::tm TestTime() {
  std::tm t{};
  t.tm_year = 106, t.tm_mon = 11, t.tm_mday = 5, t.tm_hour = 14, t.tm_min = 30, t.tm_sec = 0;
  return t;
}

// The image the program starts with for model m: default functions and channels.
inline Image DefaultImage(const AppState& app, int m) {
  Image image;
  SetDefaultFunctions(image);
  SetDefaultChannels(image, app.model(m), TestTime());
  image.ident()[2] = static_cast<uint8_t>(app.model(m).code);
  return image;
}

// Writes `bytes` into a channel record from byte `at` on.
inline void Put(ChannelRecord r, size_t at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) r[at++] = b;
}

// A channel's 16 bytes, to compare as one value.
inline std::array<uint8_t, 16> Record(const Image& img, int ch) {
  std::array<uint8_t, 16> r{};
  for (size_t b = 0; b < 16; ++b) r[b] = img[addr::kChannels + 16 * static_cast<size_t>(ch) + b];
  return r;
}

// An edit's or paste's report as the window shows it: the error, then the notes, a line each.
template <class Result>
std::string Report(const Result& r) {
  std::string out = r.error;
  for (const std::string& n : r.notes) out += (out.empty() ? "" : "\n") + n;
  return out;
}

// Records as FakePrompter does, then runs onAsk while the box is still up, as a focus change
// during a message box would.
class HookedPrompter : public FakePrompter {
 public:
  Answer ask(const Message& m) override {
    const Answer a = FakePrompter::ask(m);
    if (onAsk) onAsk();
    return a;
  }
  std::function<void()> onAsk;
};

class EditorTest : public ::testing::Test {
 protected:
  AppState app = TestApp();
  EditFlags flags;
  HookedPrompter prompter;
  uint8_t identByte = 7;
  RadioEditors editors{app, flags, prompter, [this] { return identByte; }};

  ChannelTableModel& grid() { return editors.channels(); }
  FunctionSettingsModel& fns() { return editors.functions(); }
};

}  // namespace qm::test
