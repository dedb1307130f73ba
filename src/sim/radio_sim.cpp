#include "sim/radio_sim.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qm::sim {

namespace {

constexpr std::array<uint8_t, 8> kGreeting = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;

uint16_t AddressOf(std::span<const uint8_t> f) { return static_cast<uint16_t>(f[1] << 8 | f[2]); }

}  // namespace

std::string HexBytes(std::span<const uint8_t> bytes) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(bytes[i]));
    if (i != 0) s += ' ';
    s += buf;
  }
  return s;
}

RadioSim::RadioSim(RadioConfig config) : config_(std::move(config)) {}

void RadioSim::note(Micros at, std::string text) {
  log_.push_back(LogEntry{at, Direction::Note, {}, std::move(text)});
}

void RadioSim::logFrame(Micros at, std::span<const uint8_t> f, std::string text) {
  log_.push_back(
      LogEntry{at, Direction::FromPc, std::vector<uint8_t>(f.begin(), f.end()), std::move(text)});
}

std::vector<std::vector<uint8_t>> RadioSim::framesFromPc() const {
  std::vector<std::vector<uint8_t>> frames;
  for (const LogEntry& e : log_) {
    if (e.direction == Direction::FromPc) frames.push_back(e.bytes);
  }
  return frames;
}

void RadioSim::lineOpened(Micros at) {
  pending_.clear();
  note(at, "port opened");
}

void RadioSim::lineClosed(Micros at) {
  pending_.clear();
  note(at, "port closed");
}

void RadioSim::reply(std::span<const uint8_t> bytes, Micros at, Micros extraLatency) {
  if (config_.silent || bytes.empty()) return;
  std::vector<TimedByte>& out = out_ != nullptr ? *out_ : spill_;
  const Micros start = std::max(at + config_.latency + extraLatency, txBusyUntil_);
  Micros t = start;
  for (uint8_t b : bytes) {
    if (config_.paceReplies) t += config_.byteTime;
    out.push_back(TimedByte{b, t});
  }
  txBusyUntil_ = t;
  log_.push_back(
      LogEntry{start, Direction::ToPc, std::vector<uint8_t>(bytes.begin(), bytes.end()), {}});
}

void RadioSim::receive(uint8_t byte, Micros at, std::vector<TimedByte>& out) {
  for (const TimedByte& b : spill_) out.push_back(b);
  spill_.clear();
  if (config_.paceReceive) at = std::max(at, lastRx_) + config_.byteTime;
  if (config_.echo || config_.foreign) {
    // 0x3F is what a device at another speed commonly makes of a byte, and no reply here
    // starts with it.
    const std::array<uint8_t, 1> b{config_.echo ? byte : uint8_t{0x3F}};
    out_ = &out;
    reply(b, at);
    out_ = nullptr;
    return;
  }
  if (!pending_.empty() && at - lastRx_ > kFrameGap) {
    note(at, "partial frame dropped: " + HexBytes(pending_));
    pending_.clear();
  }
  lastRx_ = at;
  pending_.push_back(byte);
  out_ = &out;
  dispatch(at);
  out_ = nullptr;
}

void RadioSim::dispatch(Micros at) {
  while (!pending_.empty()) {
    if (extension_ != nullptr) {
      const SimExtension::Result r = extension_->consume(*this, pending_, at);
      if (r.verdict == SimExtension::Verdict::NeedMore) return;
      if (r.verdict == SimExtension::Verdict::Consumed) {
        const size_t used = std::clamp<size_t>(r.used, 1, pending_.size());
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(used));
        continue;
      }
    }
    const size_t used = consumeCore(at);
    if (used == 0) return;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(used));
  }
}

size_t RadioSim::consumeCore(Micros at) {
  const std::span<const uint8_t> p(pending_);
  const auto drop = [&](const char* why) {
    logFrame(at, p.first(1), why);
    return size_t{1};
  };

  if (p[0] == 0x02 && mode_ == SimMode::Greeted) {
    if (!config_.answerIdentity) {
      logFrame(at, p.first(1), "identity request ignored");
      return 1;
    }
    logFrame(at, p.first(1), "identity request");
    std::vector<uint8_t> r(config_.identity.begin(), config_.identity.end());
    r.push_back(config_.modelCode);
    r.push_back(config_.verMajor);
    r.push_back(config_.verMinor);
    if (config_.identityExtraByte) r.push_back(0x00);
    reply(r, at);
    mode_ = SimMode::Identified;
    return 1;
  }
  if (p[0] == 0x02) {
    const size_t n = std::min(p.size(), kGreeting.size());
    if (!std::equal(p.begin(), p.begin() + static_cast<ptrdiff_t>(n), kGreeting.begin())) {
      return drop("not a greeting");
    }
    if (n < kGreeting.size()) return 0;
    ++greetings_;
    if (greetings_ <= config_.ignoreGreetings) {
      logFrame(at, p.first(8), "greeting ignored");
      return 8;
    }
    logFrame(at, p.first(8), "greeting");
    if (extension_ != nullptr) extension_->reset(*this);
    const std::array<uint8_t, 1> ack{config_.greetingAck};
    reply(ack, at);
    mode_ = SimMode::Greeted;
    return 8;
  }

  switch (mode_) {
    case SimMode::Identified:
      if (p[0] != kAck) return drop("expected the acknowledge");
      logFrame(at, p.first(1), "acknowledge");
      {
        const std::array<uint8_t, 1> ack{config_.finalAck};
        reply(ack, at);
      }
      mode_ = SimMode::Program;
      return 1;
    case SimMode::Program:
      if (p[0] == 'R') {
        if (p.size() < 4) return 0;
        handleRead(p.first(4), at);
        return 4;
      }
      if (p[0] == 'W') {
        if (p.size() < 4 || p.size() < 4u + p[3]) return 0;
        const size_t n = 4u + p[3];
        handleWrite(p.first(n), at);
        return n;
      }
      if (p[0] == 'E') {
        static constexpr std::array<uint8_t, 3> kEnd = {'E', 'N', 'D'};
        const size_t n = std::min(p.size(), kEnd.size());
        if (!std::equal(p.begin(), p.begin() + static_cast<ptrdiff_t>(n), kEnd.begin())) {
          return drop("unknown byte");
        }
        if (n < kEnd.size()) return 0;
        logFrame(at, p.first(3), "end");
        if (config_.answerEnd) {
          const std::array<uint8_t, 1> ack{config_.endAck};
          reply(ack, at);
        }
        mode_ = SimMode::Idle;
        return 3;
      }
      return drop("unknown byte");
    case SimMode::Idle:
    case SimMode::Greeted:
    case SimMode::Tune:
      break;
  }
  return drop("ignored");
}

void RadioSim::handleRead(std::span<const uint8_t> f, Micros at) {
  const uint16_t a = AddressOf(f);
  logFrame(at, f, "read");
  if (config_.silentReadAt.count(a) != 0) return;
  const auto it = config_.redirect.find(a);
  const uint16_t src = it != config_.redirect.end() ? it->second : a;
  const size_t count = f[3];
  std::vector<uint8_t> r{'W', static_cast<uint8_t>(src >> 8), static_cast<uint8_t>(src & 0xFF),
                         static_cast<uint8_t>(count)};
  for (size_t i = 0; i < count; ++i) r.push_back(memory_[(src + i) % kMemorySize]);
  if (config_.wrongFirstAt.count(a) != 0) r[0] = 0x00;
  if (config_.overCountAt.count(a) != 0) r[3] = 16;
  if (config_.longAt.count(a) != 0) r.push_back(0x00);
  if (config_.shortAt.count(a) != 0) r.resize(std::min<size_t>(r.size(), 8));
  reply(r, at, config_.lateAt.count(a) != 0 ? config_.lateLatency : Micros{0});
}

void RadioSim::handleWrite(std::span<const uint8_t> f, Micros at) {
  const uint16_t a = AddressOf(f);
  logFrame(at, f, "write");
  for (size_t i = 4; i < f.size(); ++i) {
    const size_t address = (a + i - 4) % kMemorySize;
    const bool corrupt = config_.corruptAt.count(static_cast<uint16_t>(address)) != 0;
    memory_[address] = corrupt ? static_cast<uint8_t>(~f[i]) : f[i];
  }
  written_.push_back(a);
  if (config_.noAckAt.count(a) != 0) return;
  const std::array<uint8_t, 1> r{config_.nakAt.count(a) != 0 ? kNak : kAck};
  reply(r, at, config_.lateAt.count(a) != 0 ? config_.lateLatency : Micros{0});
}

SimLine::SimLine(RadioConfig config, bool pace) : radio(std::move(config)), port(clock, &radio) {
  radio.config().paceReplies = pace;
  radio.config().paceReceive = false;  // the fake port carries the PC's bytes at line speed
  port.setByteTime(pace ? radio.config().byteTime : Micros{0});
}

}  // namespace qm::sim
