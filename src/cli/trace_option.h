// The radio verbs' --trace FILE: every frame with its time stamp, appended to FILE as it
// passes (so a run that dies part-way still leaves its record).
#pragma once

#include <fstream>
#include <optional>
#include <string>

#include "cli/args.h"
#include "platform/serial_device.h"
#include "radio/clock.h"
#include "radio/serial_port.h"
#include "radio/serial_trace.h"

namespace qm::cli {

class TraceOption {
 public:
  // Opens FILE for appending, writes a header line and wraps `inner`. False (with a message
  // on stderr) when the file cannot be written.
  bool open(const std::string& path, SerialPort& inner, const Clock& clock);
  // The port the link code should use: the trace around `inner`, or `inner` itself.
  SerialPort& port(SerialPort& inner) {
    if (tracing_) return *tracing_;
    return inner;
  }

 private:
  std::ofstream file_;
  std::optional<SerialTrace> trace_;
  std::optional<TracingSerialPort> tracing_;
};

// What every radio verb does with its options once it has taken the port number: a wrong
// option is reported on stderr (false), --device stands for every port number, and --trace
// FILE starts the trace around `port` (false when the file cannot be written).
bool ApplyLinkOptions(const Args& a, DeviceSerialPort& port, const Clock& clock,
                      TraceOption& trace);

}  // namespace qm::cli
