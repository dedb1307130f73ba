// The serial port of the link code on QSerialPort, for the systems other than Windows. Port
// number n is the device SerialDeviceForPort names; a device override (the command line's
// --device, or the window's demo mode) replaces the mapping for every port number.
#pragma once

#include <memory>
#include <string>

#include "files/profile.h"
#include "platform/serial_device.h"
#include "radio/serial_port.h"

class QSerialPort;

namespace qm {

class QtSerialPort : public DeviceSerialPort {
 public:
  explicit QtSerialPort(const ProfileFile* programIni = nullptr);
  ~QtSerialPort() override;
  QtSerialPort(const QtSerialPort&) = delete;
  QtSerialPort& operator=(const QtSerialPort&) = delete;

  bool open(int portNumber, const LineSettings& settings) override;
  void close() override;
  bool isOpen() const override;
  bool write(std::span<const uint8_t> bytes) override;
  size_t outCount() override;
  void clearOutput() override;
  size_t inCount() override;
  void clearInput() override;
  std::vector<uint8_t> readAll() override;

 private:
  // Made by each open and dropped by close, on the thread that uses it: a QSerialPort
  // belongs to the thread it was made on, and the window opens its ports on its link thread.
  std::unique_ptr<QSerialPort> port_;
};

}  // namespace qm
