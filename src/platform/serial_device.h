// Which device a port number stands for. Port number n is COMn on Windows; elsewhere it is
// the device named by key "COMn" of section "Comm Port" in the program's configuration file,
// or /dev/ttyUSB(n-1).
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "files/profile.h"
#include "radio/serial_port.h"

namespace qm {

// The device that port number n stands for; `programIni` may be null.
std::string SerialDeviceForPort(int portNumber, const ProfileFile* programIni);

// Where the devices are looked for: "/" unless QM830K_DEVICE_ROOT names a fake device tree
// (dev/, sys/class/tty/ ...), which the tests and the pictures use instead of the machine's
// own devices.
std::filesystem::path DeviceRoot();
// A device as the user knows it: a path inside a fake device tree by its place in the tree
// ("/dev/ttyUSB0").
std::string ShownDevice(const std::string& device);

// A serial port of the system, reached by port number through that mapping, or through a
// device override (the command line's --device, the window's demo mode) that stands for
// every port number.
class DeviceSerialPort : public OpenOutcomePort {
 public:
  explicit DeviceSerialPort(const ProfileFile* programIni) : ini_(programIni) {}

  // Every port number opens `device` (empty: the normal mapping).
  void setDeviceOverride(std::string device) { override_ = std::move(device); }
  // The device that an open of port n uses.
  std::string deviceFor(int portNumber) const {
    return override_.empty() ? SerialDeviceForPort(portNumber, ini_) : override_;
  }

 private:
  const ProfileFile* ini_;
  std::string override_;
};

}  // namespace qm
