// The Windows serial port where no radio is needed: the port names and the failures. Reads
// and writes through a real COM port are run end to end under Wine (scripts/test-windows).
#include "platform/win32_serial_port.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(Win32SerialPort, PortNumbersAreComPortsUnlessOverridden) {
  Win32SerialPort port;
  EXPECT_EQ(port.deviceFor(1), "COM1");
  EXPECT_EQ(port.deviceFor(16), "COM16");
  port.setDeviceOverride("\\\\.\\COM40");
  EXPECT_EQ(port.deviceFor(3), "\\\\.\\COM40");
}

TEST(Win32SerialPort, AMissingPortFailsWithItsNameAndTheSystemsReason) {
  Win32SerialPort port;
  port.setDeviceOverride("COM213");
  EXPECT_FALSE(port.open(1, kLinkSettings));
  EXPECT_FALSE(port.isOpen());
  const std::string error = port.lastError();
  EXPECT_EQ(error.rfind("COM213: ", 0), 0u) << error;
  EXPECT_GT(error.size(), std::string("COM213: ").size()) << "the system's reason";
  // Nothing is sent or counted on a port that is not open.
  const uint8_t frame[] = {0x02};
  EXPECT_FALSE(port.write(frame));
  EXPECT_EQ(port.inCount(), 0u);
  EXPECT_EQ(port.outCount(), 0u);
  EXPECT_TRUE(port.readAll().empty());
}

}  // namespace
}  // namespace qm
