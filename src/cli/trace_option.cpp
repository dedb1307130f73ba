#include "cli/trace_option.h"

#include <iostream>

#include "files/utf8_path.h"
#include "model/defaults.h"
#include "radio/write_checks.h"

namespace qm::cli {

bool TraceOption::open(const std::string& path, SerialPort& inner, const Clock& clock) {
  file_.open(PathFromUtf8(path), std::ios::binary | std::ios::app);
  if (!file_) {
    std::cerr << "qm830k-cli: cannot write the trace file " << path << "\n";
    return false;
  }
  file_ << "# qm830k-cli " << FormatLocalTime(LocalTimeNow()) << "\n" << std::flush;
  trace_.emplace(clock, [this](const std::string& line) { file_ << line << "\n" << std::flush; });
  tracing_.emplace(inner, *trace_);
  return true;
}

bool ApplyLinkOptions(const Args& a, DeviceSerialPort& port, const Clock& clock,
                      TraceOption& trace) {
  if (!a.ok()) {
    std::cerr << "qm830k-cli: " << a.error() << "\n";
    return false;
  }
  if (auto d = a.value("--device")) port.setDeviceOverride(*d);
  if (auto t = a.value("--trace"); t && !trace.open(*t, port, clock)) return false;
  return true;
}

}  // namespace qm::cli
