#include "platform/win32_serial_port.h"

#include "base/windows_api.h"
// After windows.h, which it needs.
#include <timeapi.h>

#include <filesystem>

#include "files/utf8_path.h"

namespace qm {

namespace {

HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }

// A write that the driver cannot take within this time (a cable that holds the line) fails
// instead of stopping the program; a frame is at most 12 bytes, 14 ms at 9600 baud.
constexpr DWORD kWriteTimeoutMs = 2000;

// What the system says about error `code`, in the system's own language.
std::string SystemText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::wstring text = n != 0 && buffer != nullptr ? std::wstring(buffer, n) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "error " + std::to_string(code);
  return PathToUtf8(std::filesystem::path(text));
}

// "COM5" names a port only up to COM9 in the plain namespace; the device namespace reaches
// every port.
std::wstring DevicePath(const std::string& device) {
  const std::wstring wide = PathFromUtf8(device).wstring();
  if (wide.rfind(L"\\\\.\\", 0) == 0 || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  return L"\\\\.\\" + wide;
}

}  // namespace

Win32SerialPort::Win32SerialPort(const ProfileFile* programIni)
    : DeviceSerialPort(programIni), handle_(INVALID_HANDLE_VALUE) {}

Win32SerialPort::~Win32SerialPort() { close(); }

bool Win32SerialPort::open(int portNumber, const LineSettings& settings) {
  if (isOpen()) {
    lastError_ = SystemText(ERROR_BUSY);
    return false;
  }
  const std::string device = deviceFor(portNumber);
  const HANDLE h = CreateFileW(DevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    lastError_ = device + ": " + SystemText(GetLastError());
    return false;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  bool ok = GetCommState(h, &dcb) != 0;
  if (ok) {
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.Parity = settings.parity == 'O'   ? ODDPARITY
                 : settings.parity == 'E' ? EVENPARITY
                                          : NOPARITY;
    dcb.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = settings.parity == 'N' ? FALSE : TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Both lines raised, as a terminal device has them when opened: cables that take their
    // power from them work on either system.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ok = SetCommState(h, &dcb) != 0;
  }
  if (ok) {
    // Reads return at once with what is waiting: the link code polls the counts itself.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    ok = SetCommTimeouts(h, &t) != 0;
  }
  if (!ok) {
    lastError_ = device + ": " + SystemText(GetLastError());
    CloseHandle(h);
    return false;
  }
  // The link's waits are whole milliseconds (a poll every 5 to 20 ms, a drain check every
  // millisecond); the system's default timer ticks every 15.6 ms and would stretch each of
  // them. A finer tick for as long as the port is open, which is the time of one transfer.
  timeBeginPeriod(1);
  handle_ = h;
  lastError_.clear();
  return true;
}

void Win32SerialPort::close() {
  if (!isOpen()) return;
  CloseHandle(Handle(handle_));
  handle_ = INVALID_HANDLE_VALUE;
  timeEndPeriod(1);
}

bool Win32SerialPort::isOpen() const { return Handle(handle_) != INVALID_HANDLE_VALUE; }

bool Win32SerialPort::write(std::span<const uint8_t> bytes) {
  if (!isOpen()) return false;
  DWORD written = 0;
  return WriteFile(Handle(handle_), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) != 0 &&
         written == bytes.size();
}

Win32SerialPort::Queues Win32SerialPort::queues() const {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!isOpen() || !ClearCommError(Handle(handle_), &errors, &stat)) return {};
  return {stat.cbInQue, stat.cbOutQue};
}

size_t Win32SerialPort::outCount() { return queues().out; }

void Win32SerialPort::clearOutput() {
  // Only bytes the driver still holds are dropped. A purge when it reports none would, on a
  // port whose queue reads empty while the bytes are still on their way (a pseudo-terminal
  // under an emulation layer), throw away the request just sent; on a real port it does
  // nothing anyway.
  if (outCount() > 0) PurgeComm(Handle(handle_), PURGE_TXABORT | PURGE_TXCLEAR);
}

size_t Win32SerialPort::inCount() { return queues().in; }

void Win32SerialPort::clearInput() {
  if (isOpen()) PurgeComm(Handle(handle_), PURGE_RXABORT | PURGE_RXCLEAR);
}

std::vector<uint8_t> Win32SerialPort::readAll() {
  std::vector<uint8_t> out;
  if (!isOpen()) return out;
  uint8_t buffer[512];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), buffer, sizeof buffer, &got, nullptr) || got == 0) break;
    out.insert(out.end(), buffer, buffer + got);
  }
  return out;
}

}  // namespace qm
