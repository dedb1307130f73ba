// Which device a port number stands for. Port number n is COMn on Windows; elsewhere it is
// the device named by key "COMn" of section "Comm Port" in the program's configuration file,
// or /dev/ttyUSB(n-1).
#pragma once

#include <string>

#include "files/profile.h"

namespace qm {

// The device that port number n stands for; `programIni` may be null.
std::string SerialDeviceForPort(int portNumber, const ProfileFile* programIni);

}  // namespace qm
