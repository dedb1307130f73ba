// A serial port on a virtual clock with a simulated device at the other end of the line.
// Bytes written reach the device when the line has carried them (at once, or one byte time
// each when pacing is on); the device's replies become readable at the times it gives them.
// Clearing a buffer drops only what has already arrived (input) or not yet left (output), as
// a port driver does: bytes still on the line arrive later all the same.
#pragma once

#include <cstdint>
#include <deque>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "radio/clock.h"
#include "radio/serial_port.h"
#include "sim/virtual_clock.h"

namespace qm::sim {

struct TimedByte {
  uint8_t value = 0;
  Micros at{0};  // when the byte is complete at the receiving end
};

// The device at the far end of a fake line.
class LinePeer {
 public:
  virtual ~LinePeer() = default;
  // One byte from the PC, complete at the device at `at`. The device appends its reply bytes
  // with the time each is complete at the PC.
  virtual void receive(uint8_t byte, Micros at, std::vector<TimedByte>& reply) = 0;
  // The PC opened or closed the port (a device may reset its framing).
  virtual void lineOpened(Micros /*at*/) {}
  virtual void lineClosed(Micros /*at*/) {}
};

// 11 bit times (start, 8 data, 2 stop) at 9600 baud.
inline constexpr Micros kByteTime9600{1146};

class FakeSerialPort : public OpenOutcomePort {
 public:
  struct WriteRecord {
    Micros at{0};
    std::vector<uint8_t> bytes;
  };

  // `peer` may be null: a port with nothing connected.
  FakeSerialPort(VirtualClock& clock, LinePeer* peer) : clock_(clock), peer_(peer) {}

  // Time each byte takes on the line towards the device; zero sends instantly.
  void setByteTime(Micros t) { byteTime_ = t; }
  // Makes every open fail with `error` (empty: opens succeed again).
  void failOpen(std::string error, OpenFailure kind = OpenFailure::Other) {
    openError_ = std::move(error);
    openFailure_ = kind;
  }
  // Only these port numbers exist (default: all).
  void setPresentPorts(std::set<int> ports) {
    present_ = std::move(ports);
    restrictPorts_ = true;
  }
  // Makes write() refuse (a port that went away).
  void failWrites(bool fail) { failWrites_ = fail; }

  bool open(int portNumber, const LineSettings& settings) override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool write(std::span<const uint8_t> bytes) override;
  size_t outCount() override;
  void clearOutput() override;
  size_t inCount() override;
  void clearInput() override;
  std::vector<uint8_t> readAll() override;

  // What the PC did, for the tests.
  const std::vector<WriteRecord>& writes() const { return writes_; }
  void clearWrites() { writes_.clear(); }
  int openCount() const { return openCount_; }
  int closeCount() const { return closeCount_; }
  int lastPortNumber() const { return lastPort_; }
  const LineSettings& lastSettings() const { return lastSettings_; }

 private:
  void pump();  // hands the device what the line has carried by now

  VirtualClock& clock_;
  LinePeer* peer_;
  Micros byteTime_{0};
  std::string openError_;
  OpenFailure openFailure_ = OpenFailure::Other;
  std::set<int> present_;
  bool restrictPorts_ = false;
  bool failWrites_ = false;

  bool open_ = false;
  std::deque<TimedByte> toDevice_;
  std::deque<TimedByte> fromDevice_;  // ordered by arrival time
  std::vector<TimedByte> scratch_;

  std::vector<WriteRecord> writes_;
  int openCount_ = 0;
  int closeCount_ = 0;
  int lastPort_ = 0;
  LineSettings lastSettings_;
};

}  // namespace qm::sim
