// The radio's tune mode, as an extension of the simulated radio. After a programming
// handshake the PC acknowledges its reads and sends "NRVTUNE"; the radio is then in its tune
// state, which survives closing and reopening the port. NRVTUNE is taken at any point after a
// greeting, so a session the PC abandons can hand the radio back to its tune state. There it serves
// channel selects, signalling and narrow-band frames, item frames (trial values applied, mode 0x02
// stored at 0x2F0 + item index) and finally the leave read and its acknowledge.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/radio_sim.h"

namespace qm::sim {

struct TuneSimConfig {
  bool itemExtraByte = false;    // item replies carry one extra byte (0x00)
  bool silentItems = false;      // item frames are not answered
  int ignoreChannelSelects = 0;  // the first N channel selects are not answered
  bool refuseSwitchOn = false;   // NRVTUNE is answered 0x15
  bool silentEntryAck = false;   // the acknowledge after the entry reads is not answered
  bool silentLeave = false;      // the leave read is not answered
};

// What the radio did in tune mode, for the tests.
struct TuneStore {
  int item = 0;  // item index 0..6
  uint8_t value = 0;
};

class TuneSim : public SimExtension {
 public:
  explicit TuneSim(TuneSimConfig config = {}) : config_(config) {}

  TuneSimConfig& config() { return config_; }

  Result consume(RadioSim& sim, std::span<const uint8_t> pending, Micros at) override;
  void reset(RadioSim& sim) override;

  int channel() const { return channel_; }
  bool narrow() const { return narrow_; }
  // The last signalling frame's kind and code bytes.
  const std::vector<uint8_t>& signalling() const { return signalling_; }
  // The value last applied (trial or begin) and by which item.
  std::optional<TuneStore> applied() const { return applied_; }
  const std::vector<TuneStore>& stores() const { return stores_; }
  int leaves() const { return leaves_; }

 private:
  Result tuneFrame(RadioSim& sim, std::span<const uint8_t> p, Micros at);
  int itemIndex(uint8_t command) const;

  TuneSimConfig config_;
  int channel_ = 0;
  bool narrow_ = false;
  bool leavePending_ = false;
  int channelSelects_ = 0;
  std::vector<uint8_t> signalling_;
  std::optional<TuneStore> applied_;
  std::vector<TuneStore> stores_;
  int leaves_ = 0;
};

}  // namespace qm::sim
