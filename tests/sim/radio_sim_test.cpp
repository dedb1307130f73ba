#include "sim/radio_sim.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(RadioSim, HandshakeReplies) {
  RadioConfig c;
  c.modelCode = 12;
  c.verMajor = 2;
  c.verMinor = 1;
  RadioSim sim(c);
  EXPECT_EQ(Values(Feed(sim, kGreeting, 0us)), std::vector<uint8_t>{0x06});
  EXPECT_EQ(sim.mode(), SimMode::Greeted);
  EXPECT_EQ(Values(Feed(sim, {0x02}, 0us)),
            (std::vector<uint8_t>{'Q', '4', '7', '1', '2', 12, 2, 1}));
  EXPECT_EQ(Values(Feed(sim, {0x06}, 0us)), std::vector<uint8_t>{0x06});
  EXPECT_EQ(sim.mode(), SimMode::Program);
  EXPECT_EQ(Values(Feed(sim, {'E', 'N', 'D'}, 0us)), std::vector<uint8_t>{0x06});
  EXPECT_EQ(sim.mode(), SimMode::Idle);
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

TEST(RadioSim, FaultSwitchesOfTheHandshake) {
  RadioConfig c;
  c.ignoreGreetings = 2;
  RadioSim sim(c);
  EXPECT_TRUE(Feed(sim, kGreeting, 0us).empty());
  EXPECT_TRUE(Feed(sim, kGreeting, 1s).empty());
  EXPECT_EQ(Values(Feed(sim, kGreeting, 2s)), std::vector<uint8_t>{0x06});
  EXPECT_EQ(sim.greetingsSeen(), 3);

  RadioConfig nine;
  nine.identityExtraByte = true;
  nine.identity = "Q4713";
  RadioSim s9(nine);
  Feed(s9, kGreeting, 0us);
  const auto id = Values(Feed(s9, {0x02}, 0us));
  ASSERT_EQ(id.size(), 9u);
  EXPECT_EQ(id[4], '3');

  RadioConfig quiet;
  quiet.silent = true;
  RadioSim silent(quiet);
  EXPECT_TRUE(Feed(silent, kGreeting, 0us).empty());
}

TEST(RadioSim, ReadRepliesAndTheirFaults) {
  RadioConfig c;
  c.shortAt = {0x010};
  c.longAt = {0x018};
  c.overCountAt = {0x020};
  c.wrongFirstAt = {0x028};
  c.redirect = {{0x030, 0x120}};
  c.silentReadAt = {0x038};
  RadioSim sim(c);
  for (size_t i = 0; i < RadioSim::kMemorySize; ++i) sim.memory()[i] = static_cast<uint8_t>(i);
  Program(sim);
  const auto read = [&](uint16_t a) {
    return Values(Feed(sim, {0x52, static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a), 8}, 0us));
  };
  EXPECT_EQ(read(0x3F8), (std::vector<uint8_t>{0x57, 3, 0xF8, 8, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD,
                                               0xFE, 0xFF}));
  EXPECT_EQ(read(0x010).size(), 8u);
  EXPECT_EQ(read(0x018).size(), 13u);
  EXPECT_EQ(read(0x020)[3], 16);
  EXPECT_EQ(read(0x028)[0], 0x00);
  const auto redirected = read(0x030);
  EXPECT_EQ(redirected[1], 0x01);
  EXPECT_EQ(redirected[2], 0x20);
  EXPECT_EQ(redirected[4], 0x20);
  EXPECT_TRUE(read(0x038).empty());
}

TEST(RadioSim, WriteFramesStoreAndAcknowledge) {
  RadioConfig c;
  c.noAckAt = {0x008};
  c.nakAt = {0x010};
  c.corruptAt = {0x2B3};
  RadioSim sim(c);
  Program(sim);
  const auto write = [&](uint16_t a, uint8_t fill) {
    std::vector<uint8_t> f{0x57, static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a), 8};
    for (int i = 0; i < 8; ++i) f.push_back(static_cast<uint8_t>(fill + i));
    return Values(Feed(sim, f, 0us));
  };
  EXPECT_EQ(write(0x2B0, 0x40), std::vector<uint8_t>{0x06});
  EXPECT_EQ(sim.memory()[0x2B0], 0x40);
  EXPECT_EQ(sim.memory()[0x2B3], static_cast<uint8_t>(~0x43));  // the stored byte is wrong
  EXPECT_TRUE(write(0x008, 1).empty());
  EXPECT_EQ(sim.memory()[0x008], 1);  // stored, only the acknowledge is lost
  EXPECT_EQ(write(0x010, 1), std::vector<uint8_t>{0x15});
  EXPECT_EQ(sim.writtenAddresses(), (std::vector<uint16_t>{0x2B0, 0x008, 0x010}));
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

// A mode beyond programming, as tune mode adds one: it sees frames first and can take over.
class SwitchOn : public SimExtension {
 public:
  int frames = 0;
  Result consume(RadioSim& sim, std::span<const uint8_t> p, Micros at) override {
    static const std::string kOn = "NRVTUNE";
    if (sim.mode() == SimMode::Tune) {
      ++frames;
      const std::array<uint8_t, 1> ack{0x06};
      sim.reply(ack, at);
      return {Verdict::Consumed, 1};
    }
    if (sim.mode() != SimMode::Program || p[0] != 'N') return {};
    const size_t n = std::min(p.size(), kOn.size());
    if (!std::equal(p.begin(), p.begin() + static_cast<ptrdiff_t>(n), kOn.begin())) return {};
    if (n < kOn.size()) return {Verdict::NeedMore, 0};
    sim.setMode(SimMode::Tune);
    const std::array<uint8_t, 1> ack{0x06};
    sim.reply(ack, at);
    return {Verdict::Consumed, kOn.size()};
  }
};

TEST(RadioSim, ExtensionSeesFramesFirst) {
  RadioSim sim;
  SwitchOn ext;
  sim.setExtension(&ext);
  Program(sim);
  EXPECT_EQ(Values(Feed(sim, {0x52, 0, 0, 8}, 0us)).size(), 12u);  // the core still serves
  EXPECT_EQ(Values(Feed(sim, {'N', 'R', 'V', 'T', 'U', 'N', 'E'}, 0us)),
            std::vector<uint8_t>{0x06});
  EXPECT_EQ(sim.mode(), SimMode::Tune);
  EXPECT_EQ(Values(Feed(sim, {'C', 1}, 0us)).size(), 2u);
  EXPECT_EQ(ext.frames, 2);
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

}  // namespace
}  // namespace qm::sim
