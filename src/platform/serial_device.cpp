#include "platform/serial_device.h"

#include <string_view>

namespace qm {

std::string SerialDeviceForPort(int portNumber, const ProfileFile* programIni) {
  const std::string key = "COM" + std::to_string(portNumber);
#ifdef _WIN32
  (void)programIni;
  return key;
#else
  if (programIni != nullptr) {
    // A value that no configured path can be tells a missing key from an empty one.
    static constexpr std::string_view kMissing = "\x01";
    const std::string v = programIni->read("Comm Port", key, kMissing);
    if (v != kMissing && !v.empty()) return v;
  }
  return "/dev/ttyUSB" + std::to_string(portNumber - 1);
#endif
}

}  // namespace qm
