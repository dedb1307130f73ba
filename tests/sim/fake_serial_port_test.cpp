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
  Micros replyByteTime{0};
  std::vector<TimedByte> seen;
  void receive(uint8_t b, Micros at, std::vector<TimedByte>& reply) override {
    seen.push_back({b, at});
    reply.push_back({static_cast<uint8_t>(b + 1), at + latency + replyByteTime});
  }
};

TEST(FakeSerialPort, RepliesBecomeReadableAtTheirTime) {
  VirtualClock clock;
  EchoPeer peer;
  peer.latency = 5ms;
  FakeSerialPort port(clock, &peer);
  ASSERT_TRUE(port.open(3, kLinkSettings));
  EXPECT_EQ(port.lastPortNumber(), 3);
  const std::array<uint8_t, 2> bytes{0x10, 0x20};
  ASSERT_TRUE(port.write(bytes));
  EXPECT_EQ(std::tuple(port.outCount(), port.inCount()), std::tuple(0u, 0u));
  clock.delayMs(4);
  EXPECT_EQ(port.inCount(), 0u);
  clock.delayMs(1);
  EXPECT_EQ(port.inCount(), 2u);
  EXPECT_EQ(port.readAll(), (std::vector<uint8_t>{0x11, 0x21}));
  EXPECT_EQ(port.inCount(), 0u);
}

TEST(FakeSerialPort, PacingDelaysDeliveryAndDrain) {
  VirtualClock clock;
  EchoPeer peer;
  FakeSerialPort port(clock, &peer);
  port.setByteTime(kByteTime9600);
  ASSERT_TRUE(port.open(1, kLinkSettings));
  const std::array<uint8_t, 3> bytes{1, 2, 3};
  port.write(bytes);
  EXPECT_EQ(port.outCount(), 3u);
  clock.delayMs(2);  // after 2 ms only the first byte (1.146 ms) has gone
  EXPECT_EQ(port.outCount(), 2u);
  clock.delayMs(2);
  EXPECT_EQ(port.outCount(), 0u);
  ASSERT_EQ(peer.seen.size(), 3u);
  EXPECT_EQ(peer.seen[2].at, 3 * kByteTime9600);
}

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
}

TEST(FakeSerialPort, OpenFailuresAndClosedPort) {
  VirtualClock clock;
  FakeSerialPort port(clock, nullptr);
  port.setPresentPorts({2});
  EXPECT_FALSE(port.open(1, kScanSettings));
  EXPECT_FALSE(port.lastError().empty());
  EXPECT_TRUE(port.open(2, kScanSettings));
  EXPECT_EQ(port.lastSettings(), kScanSettings);
  port.close();
  const std::array<uint8_t, 1> a{0x40};
  EXPECT_FALSE(port.write(a));
  port.failOpen("Permission denied");
  EXPECT_FALSE(port.open(2, kLinkSettings));
  EXPECT_EQ(port.lastError(), "Permission denied");
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
