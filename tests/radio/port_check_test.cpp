// The cable check: one case per outcome, each with what went over the line and its exit code
// (so the outcome table is in order and its codes distinct). Only the handshake and "END" may
// ever reach a radio.
#include "radio/port_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "radio_fixture.h"

namespace qm::test {
namespace {

const std::vector<uint8_t> kIdentityRequest = {0x02};
const std::vector<uint8_t> kAck = {0x06};

TEST(PortCheck, EachOutcomeWithItsFramesLineAndExitCode) {
  using Frames = std::vector<std::vector<uint8_t>>;
  struct Case {
    const char* name;
    std::function<void(Cfg&)> radio;
    std::optional<OpenFailure> refused;  // how the port refuses to open, with `error`
    const char* error;
    CheckOutcome outcome;
    Frames frames;     // what the PC sent
    const char* line;  // nullptr: only the port is checked
    int exitCode;
  };
  const Frames handshake = {kGreetingBytes, kIdentityRequest, kAck, kEnd};
  const Frames greetings = {kGreetingBytes, kGreetingBytes, kGreetingBytes};
  const auto none = std::nullopt;
  const Frames nothing, greeting = {kGreetingBytes};
  const Frames greetingThenEnd = {kGreetingBytes, kIdentityRequest, kEnd};
  const Case cases[] = {
      {"radio", SetCfg(&Cfg::verMinor, uint8_t{0x0A}), none, "", CheckOutcome::RadioAnswers,
       handshake, "端口1: 对讲机已应答：QM830K VHF，版本 2.A。连接正常。", 0},
      {"unknown model", SetCfg(&Cfg::modelCode, uint8_t{40}), none, "", CheckOutcome::RadioAnswers,
       handshake, "端口1: 对讲机已应答：机型代码 40，版本 2.0。连接正常。", 0},
      {"absent", nullptr, OpenFailure::Absent, "/dev/ttyUSB0: 没有这个设备",
       CheckOutcome::NoSuchPort, nothing, nullptr, 3},
      {"busy", nullptr, OpenFailure::Busy, "x", CheckOutcome::Busy, nothing,
       "端口1: 端口被另一个程序占用。请关闭那个程序后再试。", 4},
      {"permission", nullptr, OpenFailure::NoPermission, "x", CheckOutcome::NoPermission, nothing,
       nullptr, 5},
      {"driver", nullptr, OpenFailure::DriverRefused, "COM23: 设备没有响应",
       CheckOutcome::DriverRefused, nothing, nullptr, 6},
      {"other", nullptr, OpenFailure::Other, "x: y", CheckOutcome::OpenFailed, nothing,
       "端口1: 端口打不开（x: y）。请换一个端口或重新插上写频线。", 7},
      {"silent", SetCfg(&Cfg::silent, true), none, "", CheckOutcome::Silent, greetings, nullptr, 8},
      {"echo", SetCfg(&Cfg::echo, true), none, "", CheckOutcome::Echo, greeting, nullptr, 9},
      {"foreign", SetCfg(&Cfg::foreign, true), none, "", CheckOutcome::Foreign, greeting, nullptr,
       10},
      // A radio of this protocol but another kind is left with "END" too.
      {"other radio", SetCfg(&Cfg::identity, std::string("X9999")), none, "", CheckOutcome::Foreign,
       greetingThenEnd, nullptr, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RadioBench b;
    if (c.radio) c.radio(b.radio());
    if (c.refused) b.line.port.failOpen(c.error, *c.refused);
    const CheckResult r = CheckConnection(b.ctx);
    EXPECT_EQ(std::tuple(r.outcome, b.writeBytes(), InfoOf(r.outcome).exitCode),
              std::tuple(c.outcome, c.frames, c.exitCode));
    EXPECT_FALSE(b.line.port.isOpen());
    EXPECT_TRUE(b.prompter.messages.empty());  // one line, no box
    const std::string line = CheckLine(b.app, r);
    EXPECT_EQ(line.rfind("端口1: ", 0), 0u) << line;
    if (c.line != nullptr) {
      EXPECT_EQ(line, c.line);
    }
  }
}

}  // namespace
}  // namespace qm::test
