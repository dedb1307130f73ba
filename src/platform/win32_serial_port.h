// The serial port of the link code on the Windows communications API: port number n is
// \\.\COMn, or the device of the override (--device: "COM5" or "\\.\COM5").
#pragma once

#include <memory>
#include <string>

#include "platform/serial_device.h"

namespace qm {

class Win32SerialPort : public DeviceSerialPort {
 public:
  explicit Win32SerialPort(const ProfileFile* programIni = nullptr);
  ~Win32SerialPort() override;
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

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
  // The bytes waiting in the driver's queues; none when the port is closed or gone.
  struct Queues {
    size_t in = 0;
    size_t out = 0;
  };
  Queues queues() const;
  // Whether the write in progress, if any, has completed within `waitMs`; a completed write
  // adds what the driver did not send to io_->unsent.
  bool writeDone(unsigned long waitMs);
  // Closes the port on a driver that keeps a cancelled request: its buffers stay allocated
  // for as long as the program runs, since the driver may still use them.
  void abandon();

  // The port is opened for overlapped I/O: a write is in progress until the driver has sent
  // the bytes, which is what outCount() reports, as the system's queue count does elsewhere.
  struct Io;
  void* handle_;  // the HANDLE of the open port, or INVALID_HANDLE_VALUE
  std::unique_ptr<Io> io_;
};

}  // namespace qm
