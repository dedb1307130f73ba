#include "platform/qt_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "files/profile.h"
#include "platform/sleep_clock.h"
#include "platform/system_text_codec.h"
#include "radio/link.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

// A pseudo-terminal whose far side the test plays.
class Pty {
 public:
  Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    name_ = ptsname(master_);
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
  }
  ~Pty() {
    if (master_ >= 0) ::close(master_);
  }
  bool ok() const { return !name_.empty(); }
  const std::string& name() const { return name_; }
  // Bytes that reach the far side within `ms`.
  std::vector<uint8_t> readFor(int ms) {
    std::vector<uint8_t> out;
    pollfd p{master_, POLLIN, 0};
    while (::poll(&p, 1, ms) > 0) {
      uint8_t buf[64];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n <= 0) break;
      out.insert(out.end(), buf, buf + n);
    }
    return out;
  }
  void send(std::vector<uint8_t> bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

 private:
  int master_ = -1;
  std::string name_;
};

// QSerialPort wants an application object; each test makes its own.
struct App {
  int argc = 1;
  char name[5] = "test";
  char* argv[2] = {name, nullptr};
  QCoreApplication app{argc, argv};
};

TEST(QtSerialPort, CarriesBytesBothWaysOverAPseudoTerminal) {
  App app;
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QtSerialPort port;
  port.setDeviceOverride(pty.name());
  ASSERT_TRUE(port.open(1, kLinkSettings)) << port.lastError();
  EXPECT_TRUE(port.isOpen());

  // Clearing the transmit buffer right after the bytes were handed over must not throw away
  // what is already on its way (a pty keeps it until the far side reads).
  const std::array<uint8_t, 4> request{0x52, 0x00, 0x08, 0x08};
  ASSERT_TRUE(port.write(request));
  EXPECT_EQ(port.outCount(), 0u);
  port.clearOutput();
  EXPECT_EQ(pty.readFor(50), (std::vector<uint8_t>(request.begin(), request.end())));

  pty.send({0x57, 0x00, 0x08, 0x08, 1, 2, 3, 0x0D, 0x0A, 0x11, 0x13, 0xFF});
  SleepClock clock;
  for (int i = 0; i < 50 && port.inCount() < 12; ++i) clock.delayMs(2);
  EXPECT_EQ(port.inCount(), 12u);
  // Raw bytes: no line-end or flow-control translation.
  EXPECT_EQ(port.readAll(),
            (std::vector<uint8_t>{0x57, 0x00, 0x08, 0x08, 1, 2, 3, 0x0D, 0x0A, 0x11, 0x13, 0xFF}));

  pty.send({0x06, 0x06});
  clock.delayMs(20);
  port.clearInput();
  EXPECT_EQ(port.inCount(), 0u);
  port.close();
  EXPECT_FALSE(port.isOpen());
  EXPECT_FALSE(port.write(request));
}

TEST(QtSerialPort, OpenFailureNamesTheDeviceAndTheReason) {
  App app;
  test::ScratchDir dir;
  QtSerialPort port;
  const std::string missing = (dir.path() / "no-such-port").string();
  port.setDeviceOverride(missing);
  EXPECT_FALSE(port.open(3, kLinkSettings));
  EXPECT_EQ(port.lastError(), missing + ": 没有这个设备");
  EXPECT_EQ(port.lastFailure(), OpenFailure::Absent);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(TestCommPort(port, 3), 0);
}

// The scan opens every port afresh with its own settings: two working terminals among the
// sixteen are both found, and a device standing for every port makes all sixteen usable.
TEST(QtSerialPort, ScanFindsEveryWorkingPort) {
  App app;
  Pty a;
  Pty b;
  ASSERT_TRUE(a.ok() && b.ok());
  test::ScratchDir dir;
  const auto iniPath = dir.path() / "QM830K.ini";
  {
    std::ofstream ini(iniPath);
    ini << "[Comm Port]\n";
    for (int n = 1; n <= 16; ++n) {
      const std::string device = n == 3 ? a.name() : n == 9 ? b.name() : dir.file("none");
      ini << "COM" << n << "=" << device << "\n";
    }
  }
  SystemTextCodec codec;
  ProfileFile file(iniPath.string(), codec);
  struct Case {
    const char* name;
    std::string override;
    int16_t configured;
    std::vector<int> usable;
    int16_t candidate;
    int16_t portNumber;
  };
  std::vector<int> all;
  for (int n = 1; n <= 16; ++n) all.push_back(n);
  const std::vector<Case> cases = {
      {"two ports, the configured one works", "", 9, {3, 9}, 3, 9},
      {"two ports, the configured one is missing", "", 5, {3, 9}, 3, 3},
      {"one device for every port", a.name(), 16, all, 1, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QtSerialPort port(&file);
    port.setDeviceOverride(c.override);
    const PortScan scan = ScanPorts(port, c.configured);
    std::vector<int> usable;
    for (int n = 1; n <= 16; ++n)
      if (scan.usable[static_cast<size_t>(n)]) usable.push_back(n);
    EXPECT_EQ(usable, c.usable);
    EXPECT_EQ(scan.candidate, c.candidate);
    EXPECT_EQ(scan.portNumber, c.portNumber);
    // The link opens afterwards with its own settings.
    EXPECT_TRUE(port.open(c.portNumber, kLinkSettings)) << port.lastError();
    port.close();
  }
}

TEST(SerialDeviceForPort, ConfiguredPathOrTheUsbDevice) {
  test::ScratchDir dir;
  const auto ini = dir.path() / "QM830K.ini";
  std::ofstream(ini) << "[Comm Port]\nCOM2=/dev/ttyS1\nCOM3=\n";
  SystemTextCodec codec;
  ProfileFile file(ini.string(), codec);
  EXPECT_EQ(SerialDeviceForPort(2, &file), "/dev/ttyS1");
  EXPECT_EQ(SerialDeviceForPort(1, &file), "/dev/ttyUSB0");
  EXPECT_EQ(SerialDeviceForPort(3, &file), "/dev/ttyUSB2");  // empty value: the default
  EXPECT_EQ(SerialDeviceForPort(16, nullptr), "/dev/ttyUSB15");
  QtSerialPort port(&file);
  EXPECT_EQ(port.deviceFor(2), "/dev/ttyS1");
  port.setDeviceOverride("/tmp/radio");
  EXPECT_EQ(port.deviceFor(2), "/tmp/radio");
}

}  // namespace
}  // namespace qm
