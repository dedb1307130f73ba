// A record of the serial line for diagnosing a failed exchange: every frame the program sent
// and every block of bytes it received, with the time since the record began, the direction
// and the bytes in hexadecimal. TracingSerialPort sits between the link code and the real
// port and changes nothing of what passes through it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/tr.h"
#include "radio/clock.h"
#include "radio/serial_port.h"

namespace qm {

class SerialTrace {
 public:
  // `sink` gets every line as it is recorded (a log file), besides the kept lines.
  explicit SerialTrace(const Clock& clock, std::function<void(const std::string&)> sink = {});

  // "   1234.567 ms TX  57 00 10 08 ...": the time since the first line (or restart()).
  void frame(std::string_view direction, std::span<const uint8_t> bytes);
  void note(std::string_view text);
  // Begins a new record: the kept lines are dropped and the time starts again at 0.
  void restart();

  const std::vector<std::string>& lines() const { return lines_; }
  std::string text() const;  // the kept lines, each ended by "\n"

  // At most this many lines are kept in memory (the sink gets them all); a whole read is
  // about 260 lines.
  static constexpr size_t kMaxKeptLines = 20000;

 private:
  void add(std::string line);

  const Clock& clock_;
  std::function<void(const std::string&)> sink_;
  std::vector<std::string> lines_;
  bool started_ = false;
  Micros start_{0};
};

// Direction marks of the trace.
inline constexpr std::string_view kTraceSent = "TX";
inline constexpr std::string_view kTraceReceived = "RX";
inline constexpr std::string_view kTraceDiscarded = QM_NOTR("RX(清除)");

class TracingSerialPort : public SerialPort {
 public:
  TracingSerialPort(SerialPort& inner, SerialTrace& trace) : inner_(inner), trace_(trace) {}

  bool open(int portNumber, const LineSettings& settings) override;
  void close() override;
  bool isOpen() const override { return inner_.isOpen(); }
  bool write(std::span<const uint8_t> bytes) override;
  size_t outCount() override { return inner_.outCount(); }
  void clearOutput() override { inner_.clearOutput(); }
  size_t inCount() override { return inner_.inCount(); }
  // Bytes that the link code throws away unread are recorded too: a late or doubled reply
  // is often what went wrong.
  void clearInput() override;
  std::vector<uint8_t> readAll() override;
  std::string lastError() const override { return inner_.lastError(); }
  OpenFailure lastFailure() const override { return inner_.lastFailure(); }

 private:
  SerialPort& inner_;
  SerialTrace& trace_;
};

// "02 50 52 4F"
std::string HexText(std::span<const uint8_t> bytes);

}  // namespace qm
