// The listing of the system's ports on a fake device tree (never the machine's own devices),
// and the probe's bound on a port that hangs in its open.
#include "platform/port_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "files/profile.h"
#include "platform/system_text_codec.h"
#include "radio/link.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

struct FakeTree {
  fs::path root =
      fs::temp_directory_path() /
      ("qm-ports-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  ~FakeTree() { fs::remove_all(root); }
  void file(const fs::path& p, const std::string& text) {
    fs::create_directories((root / p).parent_path());
    std::ofstream(root / p) << text << "\n";
  }
  void link(const fs::path& p, const fs::path& target) {
    fs::create_directories((root / p).parent_path());
    fs::create_directory_symlink(target, root / p);
  }
  // A USB serial adapter at usb1/1-<port>, its tty under the interface.
  void usb(const std::string& tty, const std::string& port, const std::string& vid,
           const std::string& pid, const std::string& product, const std::string& driver,
           bool acm) {
    const fs::path dev = fs::path("sys/devices/pci0000:00/usb1") / ("1-" + port);
    file(dev / "idVendor", vid);
    file(dev / "idProduct", pid);
    file(dev / "product", product);
    const fs::path intf = dev / ("1-" + port + ":1.0");
    fs::create_directories(root / "sys/bus/usb-serial/drivers" / driver);
    const fs::path portDev = acm ? intf : intf / tty;
    fs::create_directories(root / portDev / "tty" / tty);
    const int depth = static_cast<int>(std::distance(portDev.begin(), portDev.end()));
    std::string up;
    for (int i = 0; i < depth; ++i) up += "../";
    link(portDev / "driver", up + "sys/bus/usb-serial/drivers/" + driver);
    link(portDev / "tty" / tty / "device", "../..");
    link(fs::path("sys/class/tty") / tty, "../../../" + (portDev / "tty" / tty).string());
    file(fs::path("dev") / tty, "");
  }
};

TEST(PortList, FakeTreeByNumberWithChipUsbIdsAndById) {
  FakeTree t;
  t.usb("ttyUSB0", "1", "1a86", "7523", "USB Serial", "ch341-uart", false);
  t.usb("ttyACM0", "2", "0483", "5740", "Radio Cable", "cdc_acm", true);
  t.usb("ttyUSB22", "3", "067b", "2303", "USB-Serial Controller", "pl2303", false);
  // A ttyS with a chip behind it and one the kernel made without one.
  t.file("sys/class/tty/ttyS0/type", "4");
  t.file("sys/class/tty/ttyS1/type", "0");
  t.link("dev/serial/by-id/usb-1a86_USB_Serial-if00-port0", "../../ttyUSB0");
  // COM1 and COM5 lead into the tree in the configuration file.
  const fs::path iniPath = t.root / "QM830K.ini";
  const std::string dev = (t.root / "dev").string();
  std::ofstream(iniPath) << "[Comm Port]\nCOM1=" << dev << "/ttyUSB0\nCOM5=" << dev
                         << "/ttyACM0\nCOM17=/dev/elsewhere\n";
  SystemTextCodec codec;
  ProfileFile ini(iniPath.string(), codec);

  std::vector<std::string> seen;
  const std::vector<SystemPort> ports = ListSystemPorts(&ini, t.root);
  for (const SystemPort& p : ports) {
    seen.push_back(PortEntryText(p) + (p.mapped ? "" : " *") +
                   (p.byId.empty() ? "" : " " + p.byId));
    if (!p.mapped) {
      EXPECT_EQ(UnmappedDevice(ports, p.number), p.device);
    }
  }
  // The devices no COMn maps to take the free numbers above COM16 (COM17 is configured).
  const std::vector<std::string> expected = {
      "COM1  USB Serial (ch341-uart, USB 1a86:7523) usb-1a86_USB_Serial-if00-port0",
      "COM5  Radio Cable (cdc_acm, USB 0483:5740)",
      "COM18  " + dev + "/ttyS0 *",
      "COM19  USB-Serial Controller (pl2303, USB 067b:2303) *",
  };
  EXPECT_EQ(seen, expected);
}

#endif

// A port whose open never returns until released.
class HangingPort : public OpenOnlyPort {
 public:
  explicit HangingPort(std::atomic<bool>& release) : release_(release) {}
  bool open(int n, const LineSettings&) override {
    if (n == 7)
      while (!release_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return n == 3 || n == 7;
  }
  std::string lastError() const override { return "gone"; }
  OpenFailure lastFailure() const override { return OpenFailure::Absent; }

 private:
  std::atomic<bool>& release_;
};

TEST(PortList, ProbeBoundsAPortThatHangsInItsOpen) {
  static std::atomic<bool> release{false};
  ProbePort probe([](int) { return std::make_unique<HangingPort>(release); },
                  std::chrono::milliseconds(150));
  const auto start = std::chrono::steady_clock::now();
  const PortScan scan = ScanPorts(probe, 7);
  const auto took = std::chrono::steady_clock::now() - start;
  release = true;
  EXPECT_LT(took, std::chrono::milliseconds(1000));
  EXPECT_TRUE(scan.usable[3]);
  EXPECT_FALSE(scan.usable[7]);
  EXPECT_EQ(scan.failure.at(7), OpenFailure::DriverRefused);
  EXPECT_EQ(scan.failure.at(5), OpenFailure::Absent);
  EXPECT_EQ(scan.portNumber, 3);
}

}  // namespace
}  // namespace qm
