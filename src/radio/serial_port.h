// The serial port as the link code sees it: exactly the operations the exchanges with the
// radio use, so the window, the command line and the tests can put any port behind it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qm {

// Line settings of an open. The link always runs at 9600 baud, 8 data bits, 2 stop bits;
// only the port scan opens with odd parity.
struct LineSettings {
  int baud = 9600;
  char parity = 'N';  // 'N' none, 'O' odd, 'E' even
  int dataBits = 8;
  int stopBits = 2;

  bool operator==(const LineSettings&) const = default;
};

inline constexpr LineSettings kLinkSettings{9600, 'N', 8, 2};  // "9600,N,8,2"
inline constexpr LineSettings kScanSettings{9600, 'O', 8, 2};  // "9600,O,8,2"

// The port dialog's buttons are COM1 .. COM16; a port the system has above them (Windows
// numbers every new adapter with the next free COM number) reaches COM256.
inline constexpr int kMinPortNumber = 1;
inline constexpr int kMaxPortNumber = 16;
inline constexpr int kMaxListedPort = 256;

// Why an open failed, as far as the system tells it.
enum class OpenFailure {
  None,
  Absent,         // no such device (cable out, or no driver for its chip)
  Busy,           // another program has it open
  NoPermission,   // the user may not open it
  DriverRefused,  // the device is there but its driver will not start it
  Other,
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens port `portNumber` with `settings`. On failure returns false and lastError()
  // describes why in the system's words. Received data is always raw bytes.
  virtual bool open(int portNumber, const LineSettings& settings) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Queues bytes for sending; returns false when the port is not open or refuses them.
  virtual bool write(std::span<const uint8_t> bytes) = 0;
  // Bytes handed to write() that have not yet left the PC.
  virtual size_t outCount() = 0;
  virtual void clearOutput() = 0;

  // Bytes received and waiting to be read.
  virtual size_t inCount() = 0;
  virtual void clearInput() = 0;
  // Every waiting byte (possibly none); they are no longer waiting afterwards.
  virtual std::vector<uint8_t> readAll() = 0;

  // The system's description of the last failed open.
  virtual std::string lastError() const = 0;
  // What kind of failure the last failed open was.
  virtual OpenFailure lastFailure() const { return OpenFailure::Other; }
  // How the program's messages name the port. Empty: by its number ("端口<n>"), as a port of
  // the system is known. A port that has no number (the one a browser granted the page)
  // gives its own name.
  virtual std::string displayName() const { return {}; }
};

// A port that keeps what its last open came to, as lastError() and lastFailure() report it.
class OpenOutcomePort : public SerialPort {
 public:
  std::string lastError() const override { return lastError_; }
  OpenFailure lastFailure() const override { return lastFailure_; }

 protected:
  // The open failed, for the reason given in the system's words; false, for open() to return.
  bool refuseOpen(OpenFailure kind, std::string text) {
    lastError_ = std::move(text);
    lastFailure_ = kind;
    return false;
  }
  // The open succeeded; true, for open() to return.
  bool openSucceeded() {
    lastError_.clear();
    lastFailure_ = OpenFailure::None;
    return true;
  }

 private:
  std::string lastError_;
  OpenFailure lastFailure_ = OpenFailure::None;
};

// A port that is only ever opened to see whether it opens and is closed again before open()
// returns (the scan's probe, a test's stand-in): it never holds a line, so it carries nothing.
class OpenOnlyPort : public OpenOutcomePort {
 public:
  void close() override {}
  bool isOpen() const override { return false; }
  bool write(std::span<const uint8_t>) override { return false; }
  size_t outCount() override { return 0; }
  void clearOutput() override {}
  size_t inCount() override { return 0; }
  void clearInput() override {}
  std::vector<uint8_t> readAll() override { return {}; }
};

}  // namespace qm
