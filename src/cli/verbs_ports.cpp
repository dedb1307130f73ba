// The verbs about the port itself: ports (what the system has, by name) and check (what is on
// one port, in one line, with an exit code of its own for each outcome).

#include <chrono>
#include <iostream>
#include <set>
#include <string>

#include "cli/args.h"
#include "cli/console_prompter.h"
#include "cli/context.h"
#include "cli/trace_option.h"
#include "cli/verbs.h"
#include "document/config.h"
#include "platform/port_list.h"
#include "platform/sleep_clock.h"
#include "platform/system_serial_port.h"
#include "platform/translation.h"
#include "radio/port_check.h"

namespace qm::cli {

namespace {

// A port hanging in its open holds the listing up this long at most.
constexpr std::chrono::milliseconds kProbeBound{400};

class SilentProgress : public Progress {};

constexpr const char* kPortsUsage = "ports [--port N] [--device PATH]";
constexpr const char* kCheckUsage = "check [--port N | --device PATH] [--trace FILE]";

int Ports(const Invocation& inv) {
  Args a(inv.args, {"--port", "--device"}, {});
  if (!a.ok() || !a.positional().empty()) return Usage(kPortsUsage);
  CliApp cli(inv);
  SystemSerialPort mapping(cli.programIni.get());
  int portNumber = ReadPortNumber(*cli.programIni);
  if (auto n = a.intValue("--port", kMinPortNumber, kMaxListedPort)) portNumber = *n;
  if (!a.ok()) {
    std::cerr << "qm830k-cli: " << a.error() << "\n";
    return 2;
  }
  const std::string device = a.value("--device").value_or("");
  const std::vector<SystemPort> listed =
      device.empty() ? ListSystemPorts(cli.programIni.get()) : std::vector<SystemPort>{};
  std::vector<int> extra;
  for (const SystemPort& p : listed)
    if (p.number > kMaxPortNumber) extra.push_back(p.number);

  ProbePort probe(
      [&cli, device, listed](int n) -> std::unique_ptr<SerialPort> {
        auto port = std::make_unique<SystemSerialPort>(cli.programIni.get());
        // A device no COMn maps to yet is opened by its path.
        port->setDeviceOverride(device.empty() ? UnmappedDevice(listed, n) : device);
        return port;
      },
      kProbeBound);
  const PortScan scan = ScanPorts(probe, static_cast<int16_t>(portNumber), extra);

  const auto line = [&](int n, bool usable) {
    const SystemPort* sys = nullptr;
    for (const SystemPort& p : listed)
      if (p.number == n) sys = &p;
    std::cout << "COM" << n << "\t"
              << (!device.empty()  ? device
                  : sys != nullptr ? sys->device
                                   : mapping.deviceFor(n))
              << "\t" << (usable ? "usable" : "-");
    if (sys != nullptr) {
      std::cout << "\t" << sys->description;
      if (!sys->byId.empty()) std::cout << "  [" << sys->byId << "]";
      if (!sys->problem.empty()) std::cout << "  " << TrCoreUtf8(sys->problem);
      if (!usable) {
        auto f = scan.failure.find(n);
        std::cout << "  "
                  << TrCoreUtf8(
                         FailurePhrase(f != scan.failure.end() ? f->second : OpenFailure::Other));
      }
      if (!sys->mapped)
        std::cout << "  (" << TrCoreUtf8(QM_TR("在端口对话框中选它，或用")) << " --device "
                  << sys->device << ")";
    }
    std::cout << "\n";
  };
  for (int n = kMaxPortNumber; n >= kMinPortNumber; --n)
    line(n, scan.usable[static_cast<size_t>(n)]);
  for (const auto& [n, usable] : scan.extraUsable) line(n, usable);
  std::cout << "port: COM" << scan.portNumber << "\n";
  return 0;
}

int Check(const Invocation& inv) {
  Args a(inv.args, {"--port", "--device", "--trace"}, {});
  if (!a.ok() || !a.positional().empty()) return Usage(kCheckUsage);
  if (a.value("--port") && a.value("--device")) return Usage(kCheckUsage);
  CliApp cli(inv);
  SystemSerialPort port(cli.programIni.get());
  SleepClock clock;
  ConsolePrompter prompter(false);
  SilentProgress progress;
  TraceOption trace;
  int portNumber = ReadPortNumber(*cli.programIni);
  if (auto n = a.intValue("--port", kMinPortNumber, kMaxListedPort)) portNumber = *n;
  if (!ApplyLinkOptions(a, port, clock, trace)) return 2;
  LinkContext ctx{trace.port(port), clock,   prompter,
                  progress,         cli.app, static_cast<int16_t>(portNumber)};
  const CheckResult result = CheckConnection(ctx);
  const std::string name = a.value("--device").value_or("");
  std::cout << TrCoreUtf8(CheckLine(cli.app, result, name)) << "\n";
  return InfoOf(result.outcome).exitCode;
}

const VerbRegistrar kPorts{
    {"ports", kPortsUsage,
     "scan COM16 down to COM1, then the ports above COM16 and the devices the system has, "
     "with what is behind each",
     Ports}};
const VerbRegistrar kCheck{
    {"check", kCheckUsage,
     "tell what is on the port in one line (nothing is sent beyond the greeting, the\n"
     "      identity request and END); exit codes: 0 a radio answers, 3 no such port,\n"
     "      4 taken by another program, 5 no permission, 6 the driver refuses the device,\n"
     "      7 another open failure, 8 nothing answers, 9 the cable echoes, 10 not this\n"
     "      protocol's bytes",
     Check}};

}  // namespace
}  // namespace qm::cli
