// The radio's side of the programming link, as a state machine: it consumes the PC's bytes
// with the time each arrived and produces its replies with the time each is complete at the
// PC. It holds the radio's 1024-byte memory and a set of fault switches, so tests and the
// pseudo-terminal simulator can play a healthy radio or a broken one.
//
// Modes: Idle until the greeting "\x02PROGRAM"; Greeted until the identity request; then
// Identified until the PC's acknowledge; then Program, where read requests, write frames and
// "END" are served. Tune mode is added by an extension (see SimExtension), which sees every
// pending frame before the core does and may switch the mode to Tune.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "radio/clock.h"
#include "sim/fake_serial_port.h"

namespace qm::sim {

enum class SimMode { Idle, Greeted, Identified, Program, Tune };

struct RadioConfig {
  // Identity reply: "Q4712", model code, major and minor version.
  std::string identity = "Q4712";
  uint8_t modelCode = 1;
  uint8_t verMajor = 2;
  uint8_t verMinor = 0;
  bool identityExtraByte = false;  // a 9-byte identity reply
  bool answerIdentity = true;      // false: the identity request goes unanswered

  // Handshake replies (0x06 for a healthy radio).
  uint8_t greetingAck = 0x06;
  uint8_t finalAck = 0x06;
  uint8_t endAck = 0x06;
  bool answerEnd = true;

  int ignoreGreetings = 0;  // the first N greetings get no answer
  bool silent = false;      // never answers anything
  // Not a radio of this protocol at all: a cable wired for another radio that sends every
  // byte straight back, or a device that answers every byte with its own.
  bool echo = false;
  bool foreign = false;

  Micros latency{0};          // before every reply
  std::set<uint16_t> lateAt;  // read or write frames at these addresses answer ...
  Micros lateLatency{0};      // ... this much later still

  // Read replies at an address (the address requested).
  std::set<uint16_t> shortAt;             // only 8 of the 12 bytes
  std::set<uint16_t> longAt;              // 13 bytes (one extra zero byte)
  std::set<uint16_t> overCountAt;         // count byte 16 with 8 data bytes
  std::set<uint16_t> wrongFirstAt;        // first byte 0x00 instead of 0x57
  std::set<uint16_t> silentReadAt;        // no reply at all
  std::map<uint16_t, uint16_t> redirect;  // the reply names (and carries) another address

  // Write frames at an address.
  std::set<uint16_t> noAckAt;    // no answer
  std::set<uint16_t> nakAt;      // answered 0x15
  std::set<uint16_t> corruptAt;  // stores the inverse of the byte written at this address

  // Line speed: replies leave one byte time apart, and received bytes are taken no faster
  // than the line carries them (for a pty, which delivers a whole write at once).
  bool paceReplies = false;
  bool paceReceive = false;
  Micros byteTime = kByteTime9600;
};

enum class Direction { FromPc, ToPc, Note };

struct LogEntry {
  Micros at{0};
  Direction direction = Direction::Note;
  std::vector<uint8_t> bytes;
  std::string note;
};

class RadioSim;

// A mode of the radio beyond programming (tune mode). It is offered the pending bytes first.
class SimExtension {
 public:
  enum class Verdict { NotMine, NeedMore, Consumed };
  struct Result {
    Verdict verdict = Verdict::NotMine;
    size_t used = 0;  // bytes consumed (Consumed only; at least 1)
  };
  virtual ~SimExtension() = default;
  // `at` is when the last pending byte arrived. Replies go through sim.reply().
  virtual Result consume(RadioSim& sim, std::span<const uint8_t> pending, Micros at) = 0;
  // The radio was greeted (a new programming session begins).
  virtual void reset(RadioSim& /*sim*/) {}
};

class RadioSim : public LinePeer {
 public:
  static constexpr size_t kMemorySize = 1024;
  // A frame whose bytes are further apart than this is not one frame: the radio drops the
  // partial frame, as it would after a line glitch.
  static constexpr Micros kFrameGap{100'000};

  explicit RadioSim(RadioConfig config = {});

  RadioConfig& config() { return config_; }
  const RadioConfig& config() const { return config_; }
  std::array<uint8_t, kMemorySize>& memory() { return memory_; }
  const std::array<uint8_t, kMemorySize>& memory() const { return memory_; }
  SimMode mode() const { return mode_; }
  void setMode(SimMode m) { mode_ = m; }
  void setExtension(SimExtension* ext) { extension_ = ext; }

  // LinePeer: one byte from the PC.
  void receive(uint8_t byte, Micros at, std::vector<TimedByte>& reply) override;
  void lineOpened(Micros at) override;
  void lineClosed(Micros at) override;

  // Sends bytes to the PC, starting no earlier than `at` (plus the configured latency).
  void reply(std::span<const uint8_t> bytes, Micros at, Micros extraLatency = Micros{0});
  // Records a note in the log.
  void note(Micros at, std::string text);

  const std::vector<LogEntry>& log() const { return log_; }
  void clearLog() { log_.clear(); }
  // Every frame the PC sent, in order (from the log).
  std::vector<std::vector<uint8_t>> framesFromPc() const;
  // How many write frames were stored, and the addresses written.
  const std::vector<uint16_t>& writtenAddresses() const { return written_; }
  int greetingsSeen() const { return greetings_; }

 private:
  void dispatch(Micros at);
  size_t consumeCore(Micros at);  // 0: needs more bytes
  void handleRead(std::span<const uint8_t> f, Micros at);
  void handleWrite(std::span<const uint8_t> f, Micros at);
  void logFrame(Micros at, std::span<const uint8_t> f, std::string note);

  RadioConfig config_;
  std::array<uint8_t, kMemorySize> memory_{};
  SimMode mode_ = SimMode::Idle;
  SimExtension* extension_ = nullptr;

  std::vector<uint8_t> pending_;
  Micros lastRx_{-1'000'000'000};
  Micros txBusyUntil_{0};
  std::vector<TimedByte>* out_ = nullptr;  // the reply sink of the byte being received
  std::vector<TimedByte> spill_;           // replies produced outside receive()
  std::vector<LogEntry> log_;
  std::vector<uint16_t> written_;
  int greetings_ = 0;
};

// A complete in-process line: a virtual clock, a simulated radio and the fake port between
// them, with line-speed pacing on both ways when asked.
struct SimLine {
  explicit SimLine(RadioConfig config = {}, bool pace = false);
  VirtualClock clock;
  RadioSim radio;
  FakeSerialPort port;
};

// Text form of a frame for logs: hexadecimal bytes.
std::string HexBytes(std::span<const uint8_t> bytes);

}  // namespace qm::sim
