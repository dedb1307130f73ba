// The serial port the programs open: Qt's serial port on Linux, the system's own
// communications API on Windows (one tested path for every Windows build, whichever Qt it
// was built with). Both take the program's configuration file for the port mapping and a
// device override (--device) that stands for every port number.
#pragma once

#ifdef _WIN32
#include "platform/win32_serial_port.h"
namespace qm {
using SystemSerialPort = Win32SerialPort;
}
#else
#include "platform/qt_serial_port.h"
namespace qm {
using SystemSerialPort = QtSerialPort;
}
#endif
