#include "sim/fake_serial_port.h"

#include <algorithm>

namespace qm::sim {

bool FakeSerialPort::open(int portNumber, const LineSettings& settings) {
  lastPort_ = portNumber;
  lastSettings_ = settings;
  if (open_) return refuseOpen(OpenFailure::Busy, "Access denied");
  if (!openError_.empty()) return refuseOpen(openFailure_, openError_);
  if (restrictPorts_ && present_.count(portNumber) == 0)
    return refuseOpen(OpenFailure::Absent, "No such file or directory");
  open_ = true;
  ++openCount_;
  openSucceeded();
  toDevice_.clear();
  fromDevice_.clear();
  if (peer_ != nullptr) peer_->lineOpened(clock_.now());
  return true;
}

void FakeSerialPort::close() {
  if (!open_) return;
  pump();
  open_ = false;
  ++closeCount_;
  toDevice_.clear();
  fromDevice_.clear();
  if (peer_ != nullptr) peer_->lineClosed(clock_.now());
}

bool FakeSerialPort::write(std::span<const uint8_t> bytes) {
  if (!open_ || failWrites_) return false;
  pump();
  const Micros now = clock_.now();
  writes_.push_back(WriteRecord{now, std::vector<uint8_t>(bytes.begin(), bytes.end())});
  Micros t = toDevice_.empty() ? now : std::max(now, toDevice_.back().at);
  for (uint8_t b : bytes) {
    t += byteTime_;
    toDevice_.push_back(TimedByte{b, t});
  }
  pump();
  return true;
}

void FakeSerialPort::pump() {
  const Micros now = clock_.now();
  while (!toDevice_.empty() && toDevice_.front().at <= now) {
    const TimedByte b = toDevice_.front();
    toDevice_.pop_front();
    if (peer_ == nullptr) continue;
    scratch_.clear();
    peer_->receive(b.value, b.at, scratch_);
    for (const TimedByte& r : scratch_) {
      // Keep arrival order; equal times keep the order the device produced them in.
      auto pos = std::upper_bound(fromDevice_.begin(), fromDevice_.end(), r.at,
                                  [](Micros t, const TimedByte& x) { return t < x.at; });
      fromDevice_.insert(pos, r);
    }
  }
}

size_t FakeSerialPort::outCount() {
  if (!open_) return 0;
  pump();
  return toDevice_.size();
}

void FakeSerialPort::clearOutput() {
  if (!open_) return;
  pump();
  toDevice_.clear();
}

size_t FakeSerialPort::inCount() {
  if (!open_) return 0;
  pump();
  const Micros now = clock_.now();
  return static_cast<size_t>(std::count_if(fromDevice_.begin(), fromDevice_.end(),
                                           [now](const TimedByte& b) { return b.at <= now; }));
}

void FakeSerialPort::clearInput() {
  if (!open_) return;
  pump();
  const Micros now = clock_.now();
  while (!fromDevice_.empty() && fromDevice_.front().at <= now) fromDevice_.pop_front();
}

std::vector<uint8_t> FakeSerialPort::readAll() {
  std::vector<uint8_t> out;
  if (!open_) return out;
  pump();
  const Micros now = clock_.now();
  while (!fromDevice_.empty() && fromDevice_.front().at <= now) {
    out.push_back(fromDevice_.front().value);
    fromDevice_.pop_front();
  }
  return out;
}

}  // namespace qm::sim
