// The cable check: one case per outcome, each with what went over the line. Only the
// handshake and "END" may ever reach a radio.
#include "radio/port_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "radio_fixture.h"

namespace qm::test {
namespace {

const std::vector<uint8_t> kEnd = {'E', 'N', 'D'};
const std::vector<uint8_t> kIdentityRequest = {0x02};
const std::vector<uint8_t> kAck = {0x06};

TEST(PortCheck, EachOutcomeWithItsFramesLineAndExitCode) {
  struct Case {
    const char* name;
    std::function<void(RadioBench&)> set;
    CheckOutcome outcome;
    std::vector<std::vector<uint8_t>> frames;  // what the PC sent
    const char* line;
    int exitCode;
  };
  const std::vector<std::vector<uint8_t>> handshake = {kGreetingBytes, kIdentityRequest, kAck,
                                                       kEnd};
  const Case cases[] = {
      {"radio", [](RadioBench& b) { b.radio().verMinor = 0x0A; }, CheckOutcome::RadioAnswers,
       handshake, "端口1: 对讲机已应答：QM830K VHF，版本 2.A。连接正常。", 0},
      {"unknown model", [](RadioBench& b) { b.radio().modelCode = 40; }, CheckOutcome::RadioAnswers,
       handshake, "端口1: 对讲机已应答：机型代码 40，版本 2.0。连接正常。", 0},
      {"absent",
       [](RadioBench& b) {
         b.line.port.failOpen("/dev/ttyUSB0: 没有这个设备", OpenFailure::Absent);
       },
       CheckOutcome::NoSuchPort,
       {},
       nullptr,
       3},
      {"busy",
       [](RadioBench& b) { b.line.port.failOpen("x", OpenFailure::Busy); },
       CheckOutcome::Busy,
       {},
       "端口1: 端口被另一个程序占用。请关闭那个程序后再试。",
       4},
      {"permission",
       [](RadioBench& b) { b.line.port.failOpen("x", OpenFailure::NoPermission); },
       CheckOutcome::NoPermission,
       {},
       nullptr,
       5},
      {"driver",
       [](RadioBench& b) {
         b.line.port.failOpen("COM23: 设备没有响应", OpenFailure::DriverRefused);
       },
       CheckOutcome::DriverRefused,
       {},
       nullptr,
       6},
      {"other",
       [](RadioBench& b) { b.line.port.failOpen("x: y", OpenFailure::Other); },
       CheckOutcome::OpenFailed,
       {},
       "端口1: 端口打不开（x: y）。请换一个端口或重新插上写频线。",
       7},
      {"silent",
       [](RadioBench& b) { b.radio().silent = true; },
       CheckOutcome::Silent,
       {kGreetingBytes, kGreetingBytes, kGreetingBytes},
       nullptr,
       8},
      {"echo",
       [](RadioBench& b) { b.radio().echo = true; },
       CheckOutcome::Echo,
       {kGreetingBytes},
       nullptr,
       9},
      {"foreign",
       [](RadioBench& b) { b.radio().foreign = true; },
       CheckOutcome::Foreign,
       {kGreetingBytes},
       nullptr,
       10},
      // A radio of this protocol but another kind is left with "END" too.
      {"other radio",
       [](RadioBench& b) { b.radio().identity = "X9999"; },
       CheckOutcome::Foreign,
       {kGreetingBytes, kIdentityRequest, kEnd},
       nullptr,
       10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RadioBench b;
    c.set(b);
    const CheckResult r = CheckConnection(b.ctx);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(b.writeBytes(), c.frames);
    EXPECT_FALSE(b.line.port.isOpen());
    EXPECT_TRUE(b.prompter.messages.empty());  // one line, no box
    EXPECT_EQ(InfoOf(r.outcome).exitCode, c.exitCode);
    const std::string line = CheckLine(b.app, r);
    EXPECT_EQ(line.rfind("端口1: ", 0), 0u) << line;
    if (c.line != nullptr) {
      EXPECT_EQ(line, c.line);
    }
  }
}

TEST(PortCheck, OutcomeTableIsInOrderWithDistinctCodes) {
  std::set<int> codes;
  for (int i = 0; i <= static_cast<int>(CheckOutcome::Foreign); ++i) {
    const auto o = static_cast<CheckOutcome>(i);
    EXPECT_EQ(InfoOf(o).outcome, o);
    EXPECT_TRUE(codes.insert(InfoOf(o).exitCode).second) << i;
  }
  EXPECT_EQ(codes.count(1) + codes.count(2), 0u);  // the tool's failure and usage codes
}

}  // namespace
}  // namespace qm::test

namespace qm::test {
namespace {

TEST(PortCheck, ScanKeepsAndOffersPortsAboveSixteen) {
  RadioBench b;
  b.line.port.setPresentPorts({23});
  const std::vector<int> extra = {23, 40};
  PortScan s = ScanPorts(b.line.port, 23, extra);
  EXPECT_EQ(s.portNumber, 23);
  EXPECT_EQ(s.candidate, 23);  // nothing of COM1..16 opens
  EXPECT_TRUE(s.extraUsable[23]);
  EXPECT_FALSE(s.extraUsable[40]);
  EXPECT_EQ(s.failure[5], OpenFailure::Absent);
  b.line.port.setPresentPorts({3, 23});
  s = ScanPorts(b.line.port, 40, extra);  // a stored port that is gone
  EXPECT_EQ(s.portNumber, 3);
}

}  // namespace
}  // namespace qm::test
