#include "platform/serial_device.h"

#include <cstdlib>
#include <string_view>

#include "files/utf8_path.h"

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
  return PathToUtf8(DeviceRoot() / "dev" / ("ttyUSB" + std::to_string(portNumber - 1)));
#endif
}

std::filesystem::path DeviceRoot() {
  if (const char* root = std::getenv("QM830K_DEVICE_ROOT"); root != nullptr && *root != '\0')
    return PathFromUtf8(root);
  return std::filesystem::path("/");
}

std::string ShownDevice(const std::string& device) {
  const std::string root = PathToUtf8(DeviceRoot());
  if (root == "/" || device.rfind(root, 0) != 0) return device;
  std::string rest = device.substr(root.size());
  return rest.empty() || rest[0] != '/' ? "/" + rest : rest;
}

}  // namespace qm
