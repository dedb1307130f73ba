#include "sim/radio_sim.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "sim/fake_serial_port.h"
#include "support/fake_prompter.h"

namespace qm::sim {
namespace {

using namespace std::chrono_literals;

const std::vector<uint8_t> kGreeting = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};

// Feeds bytes that all arrive at `at`; returns the reply bytes.
std::vector<TimedByte> Feed(RadioSim& sim, const std::vector<uint8_t>& bytes, Micros at) {
  std::vector<TimedByte> out;
  for (uint8_t b : bytes) sim.receive(b, at, out);
  return out;
}

std::vector<uint8_t> Values(const std::vector<TimedByte>& v) {
  std::vector<uint8_t> out;
  for (const auto& b : v) out.push_back(b.value);
  return out;
}

// Greets, identifies and acknowledges: the radio is in programming mode.
void Program(RadioSim& sim, Micros at = Micros{0}) {
  Feed(sim, kGreeting, at);
  Feed(sim, {0x02}, at);
  Feed(sim, {0x06}, at);
  ASSERT_EQ(sim.mode(), SimMode::Program);
}

TEST(RadioSim, GreetingInPiecesAndAfterAGap) {
  RadioSim sim;
  // Split across reads a few milliseconds apart: still one greeting.
  EXPECT_TRUE(Feed(sim, {0x02, 'P', 'R'}, 0us).empty());
  EXPECT_EQ(Values(Feed(sim, {'O', 'G', 'R', 'A', 'M'}, 3ms)), std::vector<uint8_t>{0x06});
  // A partial frame followed by silence is dropped; the next greeting is served.
  RadioSim other;
  Feed(other, {0x02, 'P'}, 0us);
  EXPECT_TRUE(Feed(other, {'R', 'O', 'G', 'R', 'A', 'M'}, 500ms).empty());
  EXPECT_EQ(Values(Feed(other, kGreeting, 600ms)), std::vector<uint8_t>{0x06});
  // Noise before a greeting does not hide it.
  RadioSim noisy;
  EXPECT_EQ(Values(Feed(noisy, {0x00, 'X', 0x02, 0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'}, 0us)),
            std::vector<uint8_t>{0x06});
}

TEST(RadioSim, NothingIsServedOutsideProgrammingMode) {
  RadioSim sim;
  EXPECT_TRUE(Feed(sim, {0x52, 0, 0, 8}, 0us).empty());
  EXPECT_TRUE(Feed(sim, {0x57, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8}, 0us).empty());
  EXPECT_EQ(sim.memory()[0], 0);
  // Unknown bytes in programming mode are skipped; the next frame is served.
  Program(sim);
  EXPECT_EQ(Values(Feed(sim, {0x99, 0x52, 0, 0, 8}, 0us)).size(), 12u);
}

TEST(RadioSim, TimingOfReplies) {
  RadioConfig c;
  c.latency = 3ms;
  c.lateAt = {0x100};
  c.lateLatency = 200ms;
  c.paceReplies = true;
  c.paceReceive = true;
  RadioSim sim(c);
  // Received: the 8 greeting bytes read at once at 10 ms are taken one byte time apart.
  const auto ack = Feed(sim, kGreeting, 10ms);
  ASSERT_EQ(ack.size(), 1u);
  const Micros received = 10ms + 8 * kByteTime9600;
  EXPECT_EQ(ack[0].at, received + 3ms + kByteTime9600);
  // Replies leave one byte time apart.
  const auto id = Feed(sim, {0x02}, 100ms);
  ASSERT_EQ(id.size(), 8u);
  EXPECT_EQ(id[7].at - id[0].at, 7 * kByteTime9600);
  Feed(sim, {0x06}, 200ms);
  const auto late = Feed(sim, {0x52, 0x01, 0x00, 8}, 300ms);
  ASSERT_EQ(late.size(), 12u);
  EXPECT_EQ(late[0].at, 300ms + 4 * kByteTime9600 + 203ms + kByteTime9600);
}

TEST(SimLine, PacedLineTakesLineTimeBothWays) {
  SimLine line(RadioConfig{}, true);
  ASSERT_TRUE(line.port.open(1, kLinkSettings));
  line.port.write(kGreeting);
  line.clock.delayMs(9);  // 8 bytes out and 1 back take 10.3 ms
  EXPECT_EQ(line.port.inCount(), 0u);
  line.clock.delayMs(2);
  EXPECT_EQ(line.port.inCount(), 1u);
}

// Answers every byte with its value + 1, `latency` after it arrived.
class EchoPeer : public LinePeer {
 public:
  Micros latency{0};
  std::vector<TimedByte> seen;
  void receive(uint8_t b, Micros at, std::vector<TimedByte>& reply) override {
    seen.push_back({b, at});
    reply.push_back({static_cast<uint8_t>(b + 1), at + latency});
  }
};

TEST(FakeSerialPort, ClearingDropsOnlyWhatHasArrivedOrNotLeft) {
  VirtualClock clock;
  EchoPeer peer;
  peer.latency = 10ms;
  FakeSerialPort port(clock, &peer);
  port.open(1, kLinkSettings);
  const std::array<uint8_t, 1> a{0x40};
  port.write(a);
  port.clearInput();  // the reply is still on the way
  clock.delayMs(10);
  EXPECT_EQ(port.inCount(), 1u);
  port.clearInput();
  EXPECT_EQ(port.inCount(), 0u);

  port.setByteTime(1ms);
  port.write(a);
  port.clearOutput();  // not yet sent: never reaches the device
  clock.delayMs(50);
  EXPECT_EQ(std::tuple(peer.seen.size(), port.inCount()), std::tuple(1u, 0u));
  // A closed port takes nothing.
  port.close();
  EXPECT_FALSE(port.write(a));
}

TEST(Progress, ValueBeyondMaximumShowsFullBar) {
  test::RecordingProgress bar;
  bar.open("", "写频", 140);
  EXPECT_EQ(bar.caption(), "QM830K");
  bar.setValue(190);
  EXPECT_TRUE(bar.positions.empty());  // setting the value does not move the bar
  bar.change();
  EXPECT_EQ(std::tuple(bar.positions, bar.value()), std::tuple(std::vector<int>{140}, 190));
}

}  // namespace
}  // namespace qm::sim
