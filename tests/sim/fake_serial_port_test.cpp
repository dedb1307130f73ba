#include "sim/fake_serial_port.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "support/fake_prompter.h"

namespace qm::sim {
namespace {

using namespace std::chrono_literals;

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
