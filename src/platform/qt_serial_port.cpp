#include "platform/qt_serial_port.h"

#include <QSerialPort>
#include <QString>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "base/tr.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace qm {

namespace {

// The common reasons an open fails, in the program's own words so that they come in the
// user's language (the system's own text is English whatever the desktop's language), and
// what kind of failure each is.
struct ErrnoReason {
  int err;
  OpenFailure kind;
  std::string_view text;
};
constexpr ErrnoReason kErrnoReasons[] = {
    {ENOENT, OpenFailure::Absent, QM_TR("没有这个设备")},
    {ENODEV, OpenFailure::Absent, QM_TR("设备不存在")},
    {ENXIO, OpenFailure::Absent, QM_TR("设备不存在")},
    {EACCES, OpenFailure::NoPermission, QM_TR("没有权限")},
    {EPERM, OpenFailure::NoPermission, QM_TR("没有权限")},
    {EBUSY, OpenFailure::Busy, QM_TR("设备正被另一个程序占用")},
    {EIO, OpenFailure::DriverRefused, QM_TR("驱动程序报告输入/输出错误")},
};

const ErrnoReason* ReasonOf(int err) {
  for (const ErrnoReason& r : kErrnoReasons)
    if (r.err == err) return &r;
  return nullptr;
}

// What the system says about an error number: the program's text for the common ones,
// else the system's own.
std::string SystemText(int err) {
  if (const ErrnoReason* r = ReasonOf(err)) return std::string(r->text);
  return std::strerror(err);
}

// The errno of opening `device` the plain way, 0 when that open works. Qt folds several
// system errors into one of its kinds (a busy port and one without permission are both its
// PermissionError), so a failed open is asked again to tell them apart.
int PlainOpenErrno(const std::string& device) {
#ifdef Q_OS_UNIX
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return errno;
  ::close(fd);
#else
  (void)device;
#endif
  return 0;
}

struct OpenError {
  OpenFailure kind = OpenFailure::Other;
  std::string text;
};

OpenError DescribeOpenError(const QSerialPort& port, const std::string& device) {
  OpenError e;
  const int err = PlainOpenErrno(device);
  if (const ErrnoReason* r = ReasonOf(err)) {
    e.kind = r->kind;
    e.text = std::string(r->text);
  } else if (err == 0 && (port.error() == QSerialPort::PermissionError ||
                          port.error() == QSerialPort::OpenError)) {
    // The device opens on its own: another program holds its lock.
    e.kind = OpenFailure::Busy;
    e.text = SystemText(EBUSY);
  } else if (err != 0) {
    e.text = SystemText(err);
  } else if (port.error() == QSerialPort::DeviceNotFoundError) {
    e.kind = OpenFailure::Absent;
    e.text = SystemText(ENOENT);
  } else {
    const std::string qt = port.errorString().toStdString();
    e.text = !qt.empty() && qt != "Unknown error" ? qt : std::string(QM_TR("端口打不开"));
  }
  e.text = Fill(QM_TR("%1: %2"), {device, e.text});
  return e;
}

// The name Qt opens for `device`. Qt takes a name without "/", "./" or "../" in front for one
// under /dev, so a relative path such as "logs/radio" would open "/dev/logs/radio": it is
// made relative to the working folder explicitly.
QString QtPortName(const std::string& device) {
  const QString name = QString::fromStdString(device);
#ifdef Q_OS_UNIX
  if (name.contains('/') && !name.startsWith('/') && !name.startsWith("./") &&
      !name.startsWith("../"))
    return "./" + name;
#endif
  return name;
}

}  // namespace

QtSerialPort::QtSerialPort(const ProfileFile* programIni) : DeviceSerialPort(programIni) {}

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(int portNumber, const LineSettings& settings) {
  if (isOpen()) return refuseOpen(OpenFailure::Busy, SystemText(EBUSY));
  const std::string device = deviceFor(portNumber);
  // A fresh port object for every open: one that was opened before would apply the previous
  // open's line settings while opening (the port scan's odd parity), which a
  // pseudo-terminal refuses, and every later trial would fail.
  port_ = std::make_unique<QSerialPort>();
  port_->setPortName(QtPortName(device));
  if (!port_->open(QIODevice::ReadWrite)) {
    OpenError e = DescribeOpenError(*port_, device);
    port_.reset();
    return refuseOpen(e.kind, std::move(e.text));
  }
  const QSerialPort::Parity parity = settings.parity == 'O'   ? QSerialPort::OddParity
                                     : settings.parity == 'E' ? QSerialPort::EvenParity
                                                              : QSerialPort::NoParity;
  const bool ok =
      port_->setBaudRate(settings.baud) &&
      port_->setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
      port_->setParity(parity) &&
      port_->setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
      port_->setFlowControl(QSerialPort::NoFlowControl);
  if (!ok) {
    std::string text = device + ": " + port_->errorString().toStdString();
    close();
    return refuseOpen(OpenFailure::DriverRefused, std::move(text));
  }
  return openSucceeded();
}

void QtSerialPort::close() {
  if (!port_) return;
  if (port_->isOpen()) port_->close();
  port_.reset();
}

bool QtSerialPort::isOpen() const { return port_ && port_->isOpen(); }

bool QtSerialPort::write(std::span<const uint8_t> bytes) {
  if (!isOpen()) return false;
  const auto n =
      port_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  if (n != static_cast<qint64>(bytes.size())) return false;
  // Without an event loop the bytes leave Qt's buffer only when asked to.
  port_->waitForBytesWritten(0);
  return port_->error() != QSerialPort::ResourceError;
}

size_t QtSerialPort::outCount() {
  if (!isOpen()) return 0;
  if (port_->bytesToWrite() > 0) port_->waitForBytesWritten(0);
  size_t count = static_cast<size_t>(port_->bytesToWrite());
#ifdef Q_OS_UNIX
  // Bytes still in the driver's queue have not left the PC either.
  int queued = 0;
  if (::ioctl(static_cast<int>(port_->handle()), TIOCOUTQ, &queued) == 0 && queued > 0) {
    count += static_cast<size_t>(queued);
  }
#endif
  return count;
}

void QtSerialPort::clearOutput() {
  // Only bytes that have not left the PC are dropped. Flushing when nothing is counted
  // would also throw away, on a pseudo-terminal, bytes already on their way to the other
  // side, which a real line has long carried.
  if (isOpen() && outCount() > 0) port_->clear(QSerialPort::Output);
}

size_t QtSerialPort::inCount() {
  if (!isOpen()) return 0;
  port_->waitForReadyRead(0);
  return static_cast<size_t>(port_->bytesAvailable());
}

void QtSerialPort::clearInput() {
  if (isOpen()) port_->clear(QSerialPort::Input);
}

std::vector<uint8_t> QtSerialPort::readAll() {
  std::vector<uint8_t> out;
  if (!isOpen()) return out;
  port_->waitForReadyRead(0);
  const QByteArray data = port_->readAll();
  out.assign(reinterpret_cast<const uint8_t*>(data.constData()),
             reinterpret_cast<const uint8_t*>(data.constData()) + data.size());
  return out;
}

}  // namespace qm
