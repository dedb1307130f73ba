#include "sim/tune_sim.h"

#include <algorithm>
#include <array>

#include "model/layout.h"

namespace qm::sim {

namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr std::array<uint8_t, 7> kSwitchOn = {'N', 'R', 'V', 'T', 'U', 'N', 'E'};

using Verdict = SimExtension::Verdict;
using Result = SimExtension::Result;

Result Used(size_t n) { return Result{Verdict::Consumed, n}; }
Result NeedMore() { return Result{Verdict::NeedMore, 0}; }
Result NotMine() { return Result{Verdict::NotMine, 0}; }

}  // namespace

void TuneSim::reset(RadioSim& /*sim*/) {
  // A new programming session: the radio forgets the channel and band of its last item.
  channel_ = 0;
  narrow_ = false;
  leavePending_ = false;
}

int TuneSim::itemIndex(uint8_t command) const {
  switch (command) {
    case 'B':
      return 0;
    case 'M':
      return 1;
    case 'm':
      return 2;
    case 'Q':
      return narrow_ ? 5 : 3;
    case 'D':
      return narrow_ ? 6 : 4;
    default:
      return -1;
  }
}

Result TuneSim::consume(RadioSim& sim, std::span<const uint8_t> p, Micros at) {
  const SimMode mode = sim.mode();
  if (mode == SimMode::Program && p[0] == kAck) {
    // The PC acknowledges the entry reads.
    sim.note(at, "tune: entry acknowledge");
    if (!config_.silentEntryAck) {
      const std::array<uint8_t, 1> ack{kAck};
      sim.reply(ack, at);
    }
    return Used(1);
  }
  // NRVTUNE puts a radio that has been greeted into its tune state: after the entry reads,
  // after a tune table write, and after a session the PC gave up part of the way. In the tune
  // state it is acknowledged and changes nothing.
  if (p[0] == 'N' && mode != SimMode::Idle) {
    const size_t n = std::min(p.size(), kSwitchOn.size());
    if (std::equal(p.begin(), p.begin() + static_cast<ptrdiff_t>(n), kSwitchOn.begin())) {
      if (n < kSwitchOn.size()) return NeedMore();
      sim.note(at, "tune: NRVTUNE");
      const std::array<uint8_t, 1> r{config_.refuseSwitchOn ? kNak : kAck};
      sim.reply(r, at);
      if (!config_.refuseSwitchOn) {
        sim.setMode(SimMode::Tune);
        leavePending_ = false;
      }
      return Used(kSwitchOn.size());
    }
  }
  if (mode == SimMode::Tune) return tuneFrame(sim, p, at);
  return NotMine();
}

Result TuneSim::tuneFrame(RadioSim& sim, std::span<const uint8_t> p, Micros at) {
  const std::array<uint8_t, 1> ack{kAck};
  switch (p[0]) {
    case 0x02:
      return NotMine();  // a greeting: a new programming session
    case 'C':
      if (p.size() < 2) return NeedMore();
      ++channelSelects_;
      channel_ = p[1];
      narrow_ = false;
      sim.note(at, "tune: channel " + std::to_string(channel_));
      if (channelSelects_ > config_.ignoreChannelSelects) sim.reply(ack, at);
      return Used(2);
    case 'S':
      if (p.size() < 4) return NeedMore();
      signalling_.assign(p.begin() + 1, p.begin() + 4);
      sim.note(at, "tune: signalling " + HexBytes(signalling_));
      sim.reply(ack, at);
      return Used(4);
    case 'n':
      narrow_ = true;
      sim.note(at, "tune: narrow band");
      sim.reply(ack, at);
      return Used(1);
    case 'R': {
      if (p.size() < 4) return NeedMore();
      const uint16_t a = static_cast<uint16_t>(p[1] << 8 | p[2]);
      sim.note(at, "tune: leave read " + HexBytes(p.first(4)));
      if (config_.silentLeave) return Used(4);
      std::vector<uint8_t> r{'W', p[1], p[2], p[3]};
      for (size_t i = 0; i < p[3]; ++i) r.push_back(sim.memory()[(a + i) % RadioSim::kMemorySize]);
      sim.reply(r, at);
      leavePending_ = true;
      return Used(4);
    }
    case kAck:
      sim.reply(ack, at);
      if (leavePending_) {
        sim.note(at, "tune: left");
        ++leaves_;
        leavePending_ = false;
        sim.setMode(SimMode::Idle);
      }
      return Used(1);
    default:
      break;
  }
  const int item = itemIndex(p[0]);
  if (item < 0) {
    sim.note(at, "tune: unknown byte " + HexBytes(p.first(1)));
    return Used(1);
  }
  if (p.size() < 3) return NeedMore();
  const uint8_t value = p[1];
  const uint8_t mode = p[2];
  sim.note(at, "tune: item " + HexBytes(p.first(3)));
  if (mode == 0x02) {
    // The radio keeps the stored value in its tune item values row.
    const Row row(sim.memory().data() + addr::kTuneItems, kRowSize);
    TuneItemValues values = DecodeTuneItemValues(row);
    values.values[static_cast<size_t>(item)] = value;
    EncodeTuneItemValues(values, row);
    stores_.push_back(TuneStore{item, value});
  } else {
    applied_ = TuneStore{item, value};
  }
  if (config_.silentItems) return Used(3);
  std::vector<uint8_t> r;
  switch (p[0]) {
    case 'B':
      r = {0x62, 0x4E, 0x06};
      break;
    case 'M':
    case 'm':
      r = {0x47, 0x00, 0x06};
      break;
    default:
      r = {0x06};
      break;
  }
  if (config_.itemExtraByte) r.push_back(0x00);
  sim.reply(r, at);
  return Used(3);
}

}  // namespace qm::sim
