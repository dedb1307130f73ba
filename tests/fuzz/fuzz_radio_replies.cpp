// The link routines against a radio whose every reply, after a sound handshake, comes from
// the fuzz input: any length, any bytes, any delay. Nothing may read or write out of bounds,
// and a read that does not complete must leave the document as it was.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "radio/embed_info.h"
#include "radio/read_radio.h"
#include "radio/write_radio.h"
#include "sim/radio_sim.h"

namespace {

class Quiet : public qm::Prompter {
 public:
  qm::Answer ask(const qm::Message& m) override {
    return m.buttons == qm::Buttons::Ok ? qm::Answer::Ok : qm::Answer::Yes;
  }
  qm::WarningAnswer warn(int, const std::string&) override { return {true, false}; }
};

class Bar : public qm::Progress {};

// Replies from the input once the radio is in programming mode; the simulator keeps the
// framing and serves the handshake.
class FuzzPeer : public qm::sim::LinePeer {
 public:
  explicit FuzzPeer(std::span<const uint8_t> input) : in_(input) {}
  void receive(uint8_t b, qm::Micros at, std::vector<qm::sim::TimedByte>& out) override {
    const bool programming = radio_.mode() == qm::sim::SimMode::Program;
    std::vector<qm::sim::TimedByte> mine;
    radio_.receive(b, at, mine);
    if (!programming || mine.empty()) {
      out.insert(out.end(), mine.begin(), mine.end());
      return;
    }
    const size_t len = next() % 20;
    const qm::Micros delay{static_cast<int64_t>(next()) * 4000};
    for (size_t i = 0; i < len; ++i) out.push_back({next(), at + delay});
  }

 private:
  uint8_t next() { return pos_ < in_.size() ? in_[pos_++] : 0x57; }
  std::span<const uint8_t> in_;
  size_t pos_ = 0;
  qm::sim::RadioSim radio_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  FuzzPeer peer(input);
  qm::sim::VirtualClock clock;
  qm::sim::FakeSerialPort port(clock, &peer);
  Quiet prompter;
  Bar bar;
  qm::AppState app;
  qm::LinkContext ctx{port, clock, prompter, bar, app, 1};

  qm::Image image;
  for (size_t i = 0; i < qm::kImageSize; ++i) image[i] = static_cast<uint8_t>(i * 13);
  const qm::Image before = image;
  int16_t ver = 2;
  const qm::ReadResult r = qm::ReadRadio(ctx, image, ver);
  if (!r.accepted() && (image != before || ver != 2)) std::abort();

  qm::WriteRadio(ctx, image, ver, [] { return std::tm{}; });
  qm::ReadEmbedInfo(ctx, image, ver);
  qm::WriteEmbedInfo(ctx, image, ver);
  if (port.isOpen()) std::abort();
  return 0;
}
