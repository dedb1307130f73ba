#include "radio/serial_trace.h"

#include <algorithm>
#include <cstdio>

namespace qm {

std::string HexText(std::span<const uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size() * 3);
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

SerialTrace::SerialTrace(const Clock& clock, std::function<void(const std::string&)> sink)
    : clock_(clock), sink_(std::move(sink)) {}

void SerialTrace::restart() {
  lines_.clear();
  started_ = false;
}

void SerialTrace::add(std::string text) {
  const Micros now = clock_.now();
  if (!started_) {
    started_ = true;
    start_ = now;
  }
  const long long us = (now - start_).count();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10lld.%03lld ms ", us / 1000, us % 1000);
  std::string line = stamp + text;
  if (sink_) sink_(line);
  if (lines_.size() < kMaxKeptLines) lines_.push_back(std::move(line));
}

void SerialTrace::frame(std::string_view direction, std::span<const uint8_t> bytes) {
  std::string text(direction);
  text.resize(std::max<size_t>(text.size(), 3), ' ');
  add(text + " " + HexText(bytes));
}

void SerialTrace::note(std::string_view text) { add("-- " + std::string(text)); }

std::string SerialTrace::text() const {
  std::string out;
  for (const std::string& l : lines_) out += l + "\n";
  return out;
}

bool TracingSerialPort::open(int portNumber, const LineSettings& settings) {
  const bool ok = inner_.open(portNumber, settings);
  char desc[64];
  std::snprintf(desc, sizeof desc, "open COM%d %d,%c,%d,%d", portNumber, settings.baud,
                settings.parity, settings.dataBits, settings.stopBits);
  trace_.note(std::string(desc) + (ok ? "" : " failed: " + inner_.lastError()));
  return ok;
}

void TracingSerialPort::close() {
  if (inner_.isOpen()) trace_.note("close");
  inner_.close();
}

bool TracingSerialPort::write(std::span<const uint8_t> bytes) {
  const bool ok = inner_.write(bytes);
  trace_.frame(ok ? kTraceSent : QM_NOTR("TX(拒绝)"), bytes);
  return ok;
}

void TracingSerialPort::clearInput() {
  if (inner_.inCount() > 0) {
    const std::vector<uint8_t> dropped = inner_.readAll();
    if (!dropped.empty()) trace_.frame(kTraceDiscarded, dropped);
  }
  inner_.clearInput();
}

std::vector<uint8_t> TracingSerialPort::readAll() {
  std::vector<uint8_t> bytes = inner_.readAll();
  if (!bytes.empty()) trace_.frame(kTraceReceived, bytes);
  return bytes;
}

}  // namespace qm
