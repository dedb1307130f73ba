// The serial port of the link code on the Windows communications API: port number n is
// \\.\COMn, or the device of the override (--device: "COM5" or "\\.\COM5").
#pragma once

#include <string>

#include "files/profile.h"
#include "radio/serial_port.h"

namespace qm {

class Win32SerialPort : public SerialPort {
 public:
  explicit Win32SerialPort(const ProfileFile* programIni = nullptr);
  ~Win32SerialPort() override;
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

  // Every port number opens `device` (empty: the normal mapping).
  void setDeviceOverride(std::string device) { override_ = std::move(device); }
  // The device that an open of port n uses.
  std::string deviceFor(int portNumber) const;

  bool open(int portNumber, const LineSettings& settings) override;
  void close() override;
  bool isOpen() const override;
  bool write(std::span<const uint8_t> bytes) override;
  size_t outCount() override;
  void clearOutput() override;
  size_t inCount() override;
  void clearInput() override;
  std::vector<uint8_t> readAll() override;
  std::string lastError() const override { return lastError_; }

 private:
  // The waiting counts of the driver's queues; false when the port is gone.
  bool queues(size_t& in, size_t& out);

  const ProfileFile* ini_;
  std::string override_;
  void* handle_;  // the HANDLE of the open port, or INVALID_HANDLE_VALUE
  std::string lastError_;
};

}  // namespace qm
