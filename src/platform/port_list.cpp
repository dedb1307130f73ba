#include "platform/port_list.h"

#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <system_error>

#include "base/tr.h"
#include "files/utf8_path.h"
#include "platform/serial_device.h"

#ifdef _WIN32
#include "base/windows_api.h"
// After windows.h, which they need.
#include <cfgmgr32.h>
#include <devguid.h>
#include <setupapi.h>
#endif

namespace qm {

namespace fs = std::filesystem;

std::string PortEntryText(const SystemPort& port) {
  std::string text = "COM" + std::to_string(port.number) + "  ";
  text += port.description.empty() ? port.device : port.description;
  return text;
}

std::string UnmappedDevice(const std::vector<SystemPort>& listed, int portNumber) {
  for (const SystemPort& p : listed)
    if (p.number == portNumber && !p.mapped) return p.device;
  return {};
}

namespace {

#ifndef _WIN32

// The first line of a small sysfs file, or empty.
std::string ReadLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
  return line;
}

// The name a symlink points at, last part only ("ch341-uart" of .../drivers/ch341-uart).
std::string LinkName(const fs::path& link) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(link, ec);
  return ec ? std::string() : PathToUtf8(target.filename());
}

// What sysfs says is behind tty `name`; false for a ttyS with no hardware behind it (the
// kernel makes a few of them whether or not a chip answers).
bool DescribeTty(const fs::path& root, const std::string& name, SystemPort& port) {
  const fs::path tty = root / "sys" / "class" / "tty" / name;
  std::error_code ec;
  if (name.rfind("ttyS", 0) == 0) {
    const std::string type = ReadLine(tty / "type");
    if (type.empty() || type == "0") return false;
  }
  const fs::path device = tty / "device";
  const std::string driver = LinkName(device / "driver");
  // The USB device the port belongs to: the nearest folder above with the vendor id.
  std::string usb;
  std::string product;
  fs::path at = fs::canonical(device, ec);
  for (int up = 0; !ec && up < 6 && !at.empty() && at != at.parent_path(); ++up) {
    if (fs::exists(at / "idVendor", ec)) {
      usb = ReadLine(at / "idVendor") + ":" + ReadLine(at / "idProduct");
      product = ReadLine(at / "product");
      break;
    }
    at = at.parent_path();
  }
  std::string text = product;
  std::string detail = driver;
  if (!usb.empty()) detail += (detail.empty() ? "USB " : ", USB ") + usb;
  if (!detail.empty()) text += text.empty() ? detail : " (" + detail + ")";
  port.description = text;
  return true;
}

std::vector<SystemPort> ListPorts(const ProfileFile* programIni, const fs::path& root) {
  std::vector<SystemPort> ports;
  std::error_code ec;
  const fs::path dev = root / "dev";
  // The by-id names, by the device they lead to.
  std::vector<std::pair<std::string, std::string>> byId;
  for (const auto& e : fs::directory_iterator(dev / "serial" / "by-id", ec)) {
    byId.emplace_back(LinkName(e.path()), PathToUtf8(e.path().filename()));
  }
  for (const auto& e : fs::directory_iterator(root / "sys" / "class" / "tty", ec)) {
    const std::string name = PathToUtf8(e.path().filename());
    if (name.rfind("ttyUSB", 0) != 0 && name.rfind("ttyACM", 0) != 0 && name.rfind("ttyS", 0) != 0)
      continue;
    SystemPort port;
    port.device = PathToUtf8(dev / name);
    if (!DescribeTty(root, name, port)) continue;
    for (const auto& [target, id] : byId)
      if (target == name) port.byId = id;
    ports.push_back(std::move(port));
  }
  // The COMn each device is; a device none maps to takes the next number no present device
  // and no key of the configuration file uses, in the order of the devices' names so that
  // the same devices get the same numbers.
  std::sort(ports.begin(), ports.end(),
            [](const SystemPort& a, const SystemPort& b) { return a.device < b.device; });
  std::set<int> taken;
  for (SystemPort& p : ports) {
    p.number = 0;
    for (int n = kMinPortNumber; n <= kMaxListedPort && p.number == 0; ++n)
      if (SerialDeviceForPort(n, programIni) == p.device) p.number = n;
    if (p.number != 0) taken.insert(p.number);
  }
  int next = kMaxPortNumber + 1;
  for (SystemPort& p : ports) {
    if (p.number != 0) continue;
    while (next <= kMaxListedPort &&
           (taken.count(next) != 0 ||
            (programIni != nullptr &&
             programIni->read("Comm Port", "COM" + std::to_string(next), "") != "")))
      ++next;
    if (next > kMaxListedPort) break;
    p.number = next++;
    p.mapped = false;
  }
  std::erase_if(ports, [](const SystemPort& p) { return p.number == 0; });
  return ports;
}

#else

std::wstring RegistryText(HKEY key, const wchar_t* name) {
  wchar_t buf[256];
  DWORD size = sizeof buf;
  DWORD type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  return std::wstring(buf, wcsnlen(buf, size / sizeof(wchar_t)));
}

// The number of "COM23", or 0.
int ComNumber(const std::wstring& name) {
  if (name.size() < 4 || _wcsnicmp(name.c_str(), L"COM", 3) != 0) return 0;
  int n = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < L'0' || name[i] > L'9' || n > kMaxListedPort) return 0;
    n = n * 10 + (name[i] - L'0');
  }
  return n >= kMinPortNumber && n <= kMaxListedPort ? n : 0;
}

std::string Utf8(const std::wstring& w) { return PathToUtf8(fs::path(w)); }

std::vector<SystemPort> ListPorts(const ProfileFile*, const fs::path&) {
  std::map<int, SystemPort> found;
  const auto add = [&](int n) -> SystemPort& {
    SystemPort& p = found[n];
    p.number = n;
    p.device = "COM" + std::to_string(n);
    return p;
  };
  // Whether the system has a DOS device name for port n: asked by name, which opens nothing
  // (and which sees Wine's dosdevices links too, which its listing of all names leaves out).
  const auto named = [](int n) {
    wchar_t target[512];
    const std::wstring name = L"COM" + std::to_wstring(n);
    return QueryDosDeviceW(name.c_str(), target, 512) != 0;
  };
  // The system's serial port list, where a name the system no longer has is left out.
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameSize = 256;
      wchar_t data[64];
      DWORD dataSize = sizeof data;
      DWORD type = 0;
      if (RegEnumValueW(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                        &dataSize) != ERROR_SUCCESS)
        break;
      if (type != REG_SZ) continue;
      if (const int n = ComNumber(std::wstring(data, wcsnlen(data, dataSize / sizeof(wchar_t))));
          n != 0 && named(n))
        add(n);
    }
    RegCloseKey(key);
  }
  // Every COM name the system has: a port a driver made without entering it in the list.
  for (int n = kMinPortNumber; n <= kMaxListedPort; ++n)
    if (found.count(n) == 0 && named(n)) add(n);
  // Under Wine a port is a link in the prefix's dosdevices folder, which neither of the above
  // shows; the folder is read as the files it holds.
  using WineVersion = const char*(__cdecl*)();
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll != nullptr && reinterpret_cast<WineVersion>(reinterpret_cast<void*>(
                              GetProcAddress(ntdll, "wine_get_version"))) != nullptr) {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix == '/') {
      std::string folder = std::string("Z:") + prefix + "/dosdevices";
      std::error_code ec;
      for (const auto& e : fs::directory_iterator(PathFromUtf8(folder), ec))
        if (const int n = ComNumber(e.path().filename().wstring())) add(n);
    }
  }
  // Friendly names, USB ids and problems from the devices of the ports class. A device the
  // system could not start (Code 10) is still there, with its port name.
  const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (set != INVALID_HANDLE_VALUE) {
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
      const HKEY dev = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
      if (dev == INVALID_HANDLE_VALUE) continue;
      const int n = ComNumber(RegistryText(dev, L"PortName"));
      RegCloseKey(dev);
      if (n == 0) continue;
      SystemPort& p = add(n);
      wchar_t buf[512];
      if (SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_FRIENDLYNAME, nullptr,
                                            reinterpret_cast<BYTE*>(buf), sizeof buf, nullptr)) {
        std::wstring friendly(buf);
        // "USB-SERIAL CH340 (COM23)": the number is said already.
        if (const size_t paren = friendly.rfind(L" (COM"); paren != std::wstring::npos)
          friendly.resize(paren);
        p.description = Utf8(friendly);
      }
      if (SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_HARDWAREID, nullptr,
                                            reinterpret_cast<BYTE*>(buf), sizeof buf, nullptr)) {
        const std::wstring hw(buf);
        const size_t vid = hw.find(L"VID_");
        const size_t pid = hw.find(L"PID_");
        if (vid != std::wstring::npos && pid != std::wstring::npos) {
          std::wstring ids = hw.substr(vid + 4, 4) + L":" + hw.substr(pid + 4, 4);
          for (wchar_t& c : ids) c = static_cast<wchar_t>(towlower(c));
          p.description += (p.description.empty() ? "USB " : " (USB ") + Utf8(ids) +
                           (p.description.empty() ? "" : ")");
        }
      }
      ULONG status = 0;
      ULONG problem = 0;
      if (CM_Get_DevNode_Status(&status, &problem, info.DevInst, 0) == CR_SUCCESS &&
          (status & DN_HAS_PROBLEM) != 0)
        p.problem = Fill(QM_TR("系统无法启动这个设备（代码 %1）"), {std::to_string(problem)});
    }
    SetupDiDestroyDeviceInfoList(set);
  }
  std::vector<SystemPort> ports;
  for (auto& [n, p] : found) ports.push_back(std::move(p));
  return ports;
}

#endif

}  // namespace

std::vector<SystemPort> ListSystemPorts(const ProfileFile* programIni, const fs::path& root) {
  std::vector<SystemPort> ports = ListPorts(programIni, root);
  std::sort(ports.begin(), ports.end(),
            [](const SystemPort& a, const SystemPort& b) { return a.number < b.number; });
  return ports;
}

bool ProbePort::open(int portNumber, const LineSettings& settings) {
  struct Shared {
    std::mutex m;
    std::condition_variable done;
    bool finished = false;
    bool ok = false;
    std::string error;
    OpenFailure failure = OpenFailure::None;
  };
  auto shared = std::make_shared<Shared>();
  // The port is made, opened and closed on the probe's thread: a port belongs to the thread
  // that made it, and one stuck in the system stays with its thread. A QThread, since Qt's
  // serial port watches its descriptor with Qt's notifiers, which need one.
  QThread* thread = QThread::create([shared, make = makePort_, portNumber, settings] {
    std::unique_ptr<SerialPort> port = make(portNumber);
    const bool ok = port->open(portNumber, settings);
    std::string error = ok ? std::string() : port->lastError();
    const OpenFailure failure = ok ? OpenFailure::None : port->lastFailure();
    port->close();
    std::lock_guard lock(shared->m);
    shared->finished = true;
    shared->ok = ok;
    shared->error = std::move(error);
    shared->failure = failure;
    shared->done.notify_all();
  });
  thread->start();
  std::unique_lock lock(shared->m);
  if (!shared->done.wait_for(lock, bound_, [&] { return shared->finished; })) {
    // The thread is left running, and its object with it, until the system lets it go.
    return refuseOpen(OpenFailure::DriverRefused, QM_TR("打开端口没有返回（驱动程序没有响应）"));
  }
  lock.unlock();
  thread->wait();
  delete thread;
  return shared->ok ? openSucceeded() : refuseOpen(shared->failure, shared->error);
}

}  // namespace qm
