#include "platform/qt_serial_port.h"

#include <QSerialPort>
#include <QString>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace qm {

namespace {

// What the system says about an error number, in its own words.
std::string SystemText(int err) { return std::strerror(err); }

std::string DescribeOpenError(const QSerialPort& port, const std::string& device, int err) {
  std::string text;
  switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
      text = SystemText(ENOENT);
      break;
    case QSerialPort::PermissionError:
      text = SystemText(EACCES);
#ifdef Q_OS_LINUX
      text += "; the user must be a member of the dialout group";
#endif
      break;
    case QSerialPort::OpenError:
      text = SystemText(EBUSY);
      break;
    default: {
      const std::string qt = port.errorString().toStdString();
      if (!qt.empty() && qt != "Unknown error") {
        text = qt;
      } else if (err != 0) {
        text = SystemText(err);
      } else {
        text = "the port could not be opened";
      }
    }
  }
  return device + ": " + text;
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
  if (isOpen()) {
    lastError_ = SystemText(EBUSY);
    return false;
  }
  const std::string device = deviceFor(portNumber);
  // A fresh port object for every open: one that was opened before would apply the previous
  // open's line settings while opening (the port scan's odd parity), which a
  // pseudo-terminal refuses, and every later trial would fail.
  port_ = std::make_unique<QSerialPort>();
  port_->setPortName(QtPortName(device));
  errno = 0;
  if (!port_->open(QIODevice::ReadWrite)) {
    const int err = errno;
    lastError_ = DescribeOpenError(*port_, device, err);
    port_.reset();
    return false;
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
    lastError_ = device + ": " + port_->errorString().toStdString();
    close();
    return false;
  }
  lastError_.clear();
  return true;
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
