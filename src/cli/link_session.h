// What every verb that talks to the radio holds: the configuration, the serial port the port
// number maps to (or --device), a sleeping clock, the console prompter (--yes answers the
// questions) and --trace.
#pragma once

#include <cstdint>
#include <optional>

#include "cli/args.h"
#include "cli/console_prompter.h"
#include "cli/context.h"
#include "cli/trace_option.h"
#include "cli/verbs.h"
#include "platform/sleep_clock.h"
#include "platform/system_serial_port.h"

namespace qm::cli {

struct LinkSession {
  CliApp cli;
  std::optional<SystemSerialPort> port;
  SleepClock clock;
  std::optional<ConsolePrompter> prompter;
  int16_t portNumber = 1;  // --port, else the configuration file's
  TraceOption trace;       // --trace FILE

  // False (with a message) when an option is wrong.
  bool setUp(const Invocation& inv, Args& a);
  // The port the link routines use: the trace around the serial port while --trace runs.
  SerialPort& line() { return trace.port(*port); }
};

}  // namespace qm::cli
