// The serial ports the system has, by their names, found without opening any of them: on
// Windows the system's serial port list with each port's friendly name and USB ids, on Linux
// the serial devices present with their chip, driver and USB ids. And the probe of the port
// dialog, which opens each port on a thread of its own so that a port hanging in its open
// holds the dialog up only for a bounded time.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/profile.h"
#include "platform/serial_device.h"
#include "radio/serial_port.h"

namespace qm {

struct SystemPort {
  int number = 0;           // the COMn it is, 1..256
  bool mapped = true;       // false: a device no COMn maps to yet; `number` is the one it gets
  std::string device;       // what an open of it uses: "COM23", "/dev/ttyACM0"
  std::string description;  // the friendly name or chip: "USB-SERIAL CH340"
  std::string byId;         // Linux: its /dev/serial/by-id name
  std::string problem;      // Windows: why the system does not start it (a device manager code)
};

// The present ports, ordered by number. On Linux `root` is the tree above; the numbers follow
// the port mapping of the program's configuration file (`programIni` may be null).
std::vector<SystemPort> ListSystemPorts(const ProfileFile* programIni,
                                        const std::filesystem::path& root = DeviceRoot());

// The line a listing shows for a port: "COM23  USB-SERIAL CH340".
std::string PortEntryText(const SystemPort& port);

// The device an open of port n uses: a listed device no COMn maps to yet by its path, any
// other by the usual mapping (empty).
std::string UnmappedDevice(const std::vector<SystemPort>& listed, int portNumber);

// A port for the scan whose every open runs on a fresh port of `makePort` on a thread of its
// own, opened and closed there, waited for at most `bound`: a port stuck in its open counts as
// one that cannot be opened, and its thread is left to the system. open() closes what it
// opened before it returns, so the port never reads as open.
class ProbePort : public OpenOnlyPort {
 public:
  // A fresh port for an open of port n.
  using Factory = std::function<std::unique_ptr<SerialPort>(int portNumber)>;
  ProbePort(Factory makePort, std::chrono::milliseconds bound)
      : makePort_(std::move(makePort)), bound_(bound) {}

  bool open(int portNumber, const LineSettings& settings) override;

 private:
  Factory makePort_;
  std::chrono::milliseconds bound_;
};

}  // namespace qm
