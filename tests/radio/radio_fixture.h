// A PC and a simulated radio joined by a fake line on a virtual clock, with a scripted
// prompter and a recording progress window: the whole world of a radio operation.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/app_state.h"
#include "model/image.h"
#include "radio/link.h"
#include "sim/radio_sim.h"
#include "support/fake_prompter.h"

namespace qm::test {

using Cfg = sim::RadioConfig;

// A set-up of the simulated radio for a table row: one setting, or one address added to a rule.
template <class T, class V>
std::function<void(Cfg&)> SetCfg(T Cfg::*setting, V value) {
  return [=](Cfg& c) { c.*setting = value; };
}
inline std::function<void(Cfg&)> AddAt(std::set<uint16_t> Cfg::*rule, uint16_t address) {
  return [=](Cfg& c) { (c.*rule).insert(address); };
}

inline AppState TwoModelApp() {
  AppState app;
  app.models = {{"QM830K VHF", 1, 136, 174, 136, 174}, {"QM830K UHF", 2, 400, 470, 400, 470}};
  app.modelCount = 2;
  app.curModel = 0;
  return app;
}

// Every byte different, so a byte in the wrong place shows.
inline void FillPattern(std::span<uint8_t> bytes, uint8_t seed) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>((i * 7 + seed + (i >> 8)) & 0xFF);
  }
}

// Messages joined by "|", for one-line comparisons.
inline std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += (s.empty() ? "" : "|") + x;
  return s;
}

inline std::tm FixedTime() {
  std::tm t{};
  t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 7, t.tm_hour = 1, t.tm_min = 30, t.tm_sec = 5;
  return t;
}

// The way back into the tune state of an operation begun in the tune view, recorded: for
// each switch-on, how many messages had been shown by then.
struct TuneReturnProbe {
  explicit TuneReturnProbe(const FakePrompter& p)
      : back{[this, &p](LinkContext&) { shownBefore.push_back(p.messages.size()); }} {}
  TuneReturnProbe(const TuneReturnProbe&) = delete;
  TuneReturnProbe& operator=(const TuneReturnProbe&) = delete;
  TuneReturn back;
  std::vector<size_t> shownBefore;
};

// One operation's world: the line, the prompter, the progress window, the model table and
// the document fields an operation works on.
struct RadioBench {
  explicit RadioBench(bool pace = false) : line(sim::RadioConfig{}, pace) {}

  sim::RadioConfig& radio() { return line.radio.config(); }
  int64_t nowMs() const { return line.clock.now().count() / 1000; }
  // Begun in the tune view: the way back into the tune state is recorded by `tune`.
  void fromTuneView() { ctx.tuneReturn = &tune.back; }

  // Times (ms) of the PC's writes and their bytes.
  std::vector<int64_t> writeTimes() const {
    std::vector<int64_t> t;
    for (const auto& w : line.port.writes()) t.push_back(w.at.count() / 1000);
    return t;
  }
  std::vector<std::vector<uint8_t>> writeBytes() const {
    std::vector<std::vector<uint8_t>> b;
    for (const auto& w : line.port.writes()) b.push_back(w.bytes);
    return b;
  }
  // The PC's writes from the `from`th on, each with its time (ms).
  using Sent = std::vector<std::pair<std::vector<uint8_t>, int64_t>>;
  Sent sent(size_t from = 0) const {
    Sent s;
    for (const auto& w : line.port.writes()) s.emplace_back(w.bytes, w.at.count() / 1000);
    s.erase(s.begin(), s.begin() + static_cast<long>(std::min(from, s.size())));
    return s;
  }

  sim::SimLine line;
  FakePrompter prompter;
  RecordingProgress progress;
  AppState app = TwoModelApp();
  LinkContext ctx{line.port, line.clock, prompter, progress, app, 1};
  Image image;
  int16_t verMajor = 2;
  TuneReturnProbe tune{prompter};
};

class RadioTest : public ::testing::Test, public RadioBench {};

inline const std::vector<uint8_t> kGreetingBytes = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
inline const std::vector<uint8_t> kEnd = {'E', 'N', 'D'};
// A read request for the 8 bytes at `address`.
inline std::vector<uint8_t> ReadRequest(int address) {
  return {0x52, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), 8};
}
inline const std::string kNoAnswerMsg =
    "通讯端口错误 / 端口1 没有响应，请检查你的连接或机器电源是否打开！";
inline const std::string kOtherRadioMsg = "机型错误 / 机型与软件不匹配，请选择正确的机型！";

}  // namespace qm::test
