#include "platform/win32_serial_port.h"

#include "base/windows_api.h"
// After windows.h, which it needs.
#include <timeapi.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "files/utf8_path.h"
#include "platform/win_timer.h"

namespace qm {

namespace {

HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }

// A write that the driver cannot take within this time (a cable that holds the line) fails
// instead of stopping the program; a frame is at most 12 bytes, 14 ms at 9600 baud.
constexpr DWORD kWriteTimeoutMs = 2000;
// How long a cancelled request may take to come back from the driver.
constexpr DWORD kCancelWaitMs = 1000;

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

// What kind of failure a system error of CreateFile on a port is. A port another program
// has open answers "access denied": ports are opened for exclusive use.
OpenFailure FailureOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
      return OpenFailure::Absent;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
      return OpenFailure::Busy;
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_NOT_SUPPORTED:
    case ERROR_BAD_COMMAND:
      return OpenFailure::DriverRefused;
    default:
      return OpenFailure::Other;
  }
}

// "COM5" names a port only up to COM9 in the plain namespace; the device namespace reaches
// every port.
std::wstring DevicePath(const std::string& device) {
  const std::wstring wide = PathFromUtf8(device).wstring();
  if (wide.rfind(L"\\\\.\\", 0) == 0 || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  return L"\\\\.\\" + wide;
}

}  // namespace

// The state of the overlapped requests. The driver uses the OVERLAPPED blocks and the
// buffers until a request completes, so they live apart from the stack of the calls.
struct Win32SerialPort::Io {
  OVERLAPPED write{};
  OVERLAPPED read{};
  std::vector<uint8_t> sending;  // the bytes of the write in progress
  bool writePending = false;
  size_t unsent = 0;  // bytes of completed writes that the driver did not send
  uint8_t received[512];

  Io() {
    // Manual-reset events, as GetOverlappedResult expects.
    write.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    read.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  ~Io() {
    if (write.hEvent != nullptr) CloseHandle(write.hEvent);
    if (read.hEvent != nullptr) CloseHandle(read.hEvent);
  }
  Io(const Io&) = delete;
  Io& operator=(const Io&) = delete;
  bool ok() const { return write.hEvent != nullptr && read.hEvent != nullptr; }
};

Win32SerialPort::Win32SerialPort(const ProfileFile* programIni)
    : DeviceSerialPort(programIni), handle_(INVALID_HANDLE_VALUE) {}

Win32SerialPort::~Win32SerialPort() { close(); }

bool Win32SerialPort::open(int portNumber, const LineSettings& settings) {
  if (isOpen()) return refuseOpen(OpenFailure::Busy, SystemText(ERROR_BUSY));
  const std::string device = deviceFor(portNumber);
  const HANDLE h = CreateFileW(DevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    return refuseOpen(FailureOf(code), device + ": " + SystemText(code));
  }
  auto io = std::make_unique<Io>();
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
  if (ok) ok = io->ok();
  if (ok) {
    // Reads return at once with what is waiting: the link code polls the counts itself.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    ok = SetCommTimeouts(h, &t) != 0;
  }
  if (!ok) {
    // The device opened but its driver took none of the port's settings.
    std::string text = device + ": " + SystemText(GetLastError());
    CloseHandle(h);
    return refuseOpen(OpenFailure::DriverRefused, std::move(text));
  }
  // The link's waits are whole milliseconds (a poll every 5 to 20 ms, a drain check every
  // millisecond); the system's default timer ticks every 15.6 ms and would stretch each of
  // them where a clock waits on the tick. A finer tick for as long as the port is open, which
  // is the time of one transfer, kept also while the program's windows are hidden.
  win::HonourTimerResolution();
  timeBeginPeriod(1);
  handle_ = h;
  io_ = std::move(io);
  return openSucceeded();
}

void Win32SerialPort::close() {
  if (!isOpen()) return;
  // A write still in progress is dropped, and comes back from the driver before its buffer
  // goes away with the port.
  if (io_->writePending) {
    CancelIoEx(Handle(handle_), &io_->write);
    if (!writeDone(kCancelWaitMs)) {
      abandon();
      return;
    }
  }
  CloseHandle(Handle(handle_));
  handle_ = INVALID_HANDLE_VALUE;
  io_.reset();
  timeEndPeriod(1);
}

void Win32SerialPort::abandon() {
  CloseHandle(Handle(handle_));
  handle_ = INVALID_HANDLE_VALUE;
  (void)io_.release();
  timeEndPeriod(1);
}

bool Win32SerialPort::isOpen() const { return Handle(handle_) != INVALID_HANDLE_VALUE; }

bool Win32SerialPort::writeDone(unsigned long waitMs) {
  if (!io_->writePending) return true;
  if (waitMs > 0) WaitForSingleObject(io_->write.hEvent, waitMs);
  DWORD sent = 0;
  if (!GetOverlappedResult(Handle(handle_), &io_->write, &sent, FALSE) &&
      GetLastError() == ERROR_IO_INCOMPLETE) {
    return false;
  }
  // Done, or failed (the write timeout, a cancel, a port that went away): what the driver
  // did not send stays counted until the output is cleared.
  io_->writePending = false;
  io_->unsent += io_->sending.size() - std::min<size_t>(sent, io_->sending.size());
  return true;
}

bool Win32SerialPort::write(std::span<const uint8_t> bytes) {
  if (!isOpen()) return false;
  // One write at a time: the link sends the next frame only once the last has left, so a
  // write still in progress after the write timeout means a line that does not move.
  if (!writeDone(kWriteTimeoutMs)) return false;
  io_->sending.assign(bytes.begin(), bytes.end());
  io_->write.Offset = 0;
  io_->write.OffsetHigh = 0;
  const DWORD size = static_cast<DWORD>(io_->sending.size());
  if (WriteFile(Handle(handle_), io_->sending.data(), size, nullptr, &io_->write)) {
    DWORD sent = 0;
    return GetOverlappedResult(Handle(handle_), &io_->write, &sent, FALSE) && sent == size;
  }
  if (GetLastError() != ERROR_IO_PENDING) return false;
  io_->writePending = true;
  return true;
}

Win32SerialPort::Queues Win32SerialPort::queues() const {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!isOpen() || !ClearCommError(Handle(handle_), &errors, &stat)) return {};
  return {stat.cbInQue, stat.cbOutQue};
}

size_t Win32SerialPort::outCount() {
  if (!isOpen()) return 0;
  const bool pending = !writeDone(0);
  const size_t queued = queues().out;
  // A driver that counts the bytes of a write in progress says how many are left; one that
  // does not still has the whole write to send.
  return io_->unsent + (pending && queued == 0 ? io_->sending.size() : queued);
}

void Win32SerialPort::clearOutput() {
  // Only bytes the driver still holds are dropped. A purge when it reports none would, on a
  // port whose queue reads empty while the bytes are still on their way (a pseudo-terminal
  // under an emulation layer), throw away the request just sent; on a real port it does
  // nothing anyway.
  if (outCount() == 0) return;
  PurgeComm(Handle(handle_), PURGE_TXABORT | PURGE_TXCLEAR);
  if (!writeDone(kCancelWaitMs)) {
    abandon();
    return;
  }
  io_->unsent = 0;
}

size_t Win32SerialPort::inCount() { return queues().in; }

void Win32SerialPort::clearInput() {
  if (isOpen()) PurgeComm(Handle(handle_), PURGE_RXABORT | PURGE_RXCLEAR);
}

std::vector<uint8_t> Win32SerialPort::readAll() {
  std::vector<uint8_t> out;
  while (isOpen()) {
    OVERLAPPED& ov = io_->read;
    ov.Offset = 0;
    ov.OffsetHigh = 0;
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), io_->received, sizeof io_->received, nullptr, &ov)) {
      if (GetLastError() != ERROR_IO_PENDING) break;
      // The timeouts make a read return at once; a driver that waits for more anyway is
      // stopped, and what it has received by then is taken.
      if (WaitForSingleObject(ov.hEvent, 0) != WAIT_OBJECT_0) {
        CancelIoEx(Handle(handle_), &ov);
        if (WaitForSingleObject(ov.hEvent, kCancelWaitMs) != WAIT_OBJECT_0) {
          abandon();
          break;
        }
      }
    }
    // A cancelled read fails but still gives the bytes it took.
    GetOverlappedResult(Handle(handle_), &ov, &got, FALSE);
    if (got == 0) break;
    out.insert(out.end(), io_->received, io_->received + got);
  }
  return out;
}

}  // namespace qm
