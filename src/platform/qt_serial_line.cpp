#include "platform/qt_serial_line.h"

#include <QElapsedTimer>
#include <QThread>
#include <cctype>
#include <cerrno>
#include <sstream>

#ifndef _WIN32
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace qm47 {

namespace {
// 150 bytes, the longest request, take 160 ms at 9600 baud: this is a stuck line.
constexpr qint64 kDrainLimitMs = 2000;
}  // namespace

std::optional<LineSettings> ParseLineSettings(const std::string& text) {
  std::istringstream in(text);
  std::string baud, parity, data, stop;
  if (!std::getline(in, baud, ',') || !std::getline(in, parity, ',') || !std::getline(in, data, ',') ||
      !std::getline(in, stop) || parity.size() != 1) {
    return std::nullopt;
  }
  LineSettings s;
  try {
    s.baud = std::stoi(baud);
    s.dataBits = std::stoi(data);
    s.stopBits = std::stoi(stop);
  } catch (...) {
    return std::nullopt;
  }
  s.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parity[0])));
  if (s.baud <= 0 || (s.parity != 'N' && s.parity != 'E' && s.parity != 'O') || s.dataBits < 5 || s.dataBits > 8 ||
      (s.stopBits != 1 && s.stopBits != 2)) {
    return std::nullopt;
  }
  return s;
}

std::string PermissionAdvice(const std::string& path) {
#ifndef _WIN32
  if (::access(path.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return "";
  struct stat st {};
  std::string group;
  // Joining the group helps only when the group may read and write the device.
  const mode_t groupRw = S_IRGRP | S_IWGRP;
  if (::stat(path.c_str(), &st) == 0 && (st.st_mode & groupRw) == groupRw) {
    if (const struct group* g = ::getgrgid(st.st_gid)) group = g->gr_name;
  }
  if (group.empty() || group == "root") {
    return "you may not use " + path + "; ask your administrator for read and write access to it";
  }
  return "you may not use " + path + "; join the group '" + group + "' (sudo usermod -aG " + group +
         " $USER) and log in again";
#else
  (void)path;
  return "";
#endif
}

namespace {

// The device Qt opens for a port name: a path as given, else the name under /dev
// (Qt names /dev/ttyUSB0 "ttyUSB0").
std::string DevicePath(const std::string& device) {
#ifndef _WIN32
  const bool path = device.rfind('/', 0) == 0 || device.rfind("./", 0) == 0 || device.rfind("../", 0) == 0;
  return path ? device : "/dev/" + device;
#else
  return device;
#endif
}

}  // namespace

QtSerialLine::QtSerialLine(std::string device) : device_(std::move(device)) {
  port_.setPortName(QString::fromStdString(device_));
}

IoError QtSerialLine::OpenError() const {
  const std::string why = port_.errorString().toStdString();
  switch (port_.error()) {
    case QSerialPort::DeviceNotFoundError:
      return {8002, "No such device (" + DevicePath(device_) + ")"};
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError: {
      const std::string advice = PermissionAdvice(DevicePath(device_));
      if (!advice.empty()) return {70, "Permission denied: " + advice};
      return {8005, "Port already open (" + device_ + " is in use by another program)"};
    }
    case QSerialPort::UnsupportedOperationError:
      return {8015, "Could not set comm state (" + why + ")"};
    default:
      return {8002, "Invalid port number (" + device_ + ": " + why + ")"};
  }
}

std::optional<IoError> QtSerialLine::Open(const std::string& settings) {
  Close();
  fault_.reset();
  const auto s = ParseLineSettings(settings);
  if (!s) return port_error::InvalidSettings(settings);
  if (!port_.open(QIODevice::ReadWrite)) {
    const IoError e = OpenError();
    port_.clearError();
    return e;
  }
  const auto parity = s->parity == 'E' ? QSerialPort::EvenParity
                      : s->parity == 'O' ? QSerialPort::OddParity
                                         : QSerialPort::NoParity;
  const bool ok = port_.setBaudRate(s->baud) && port_.setParity(parity) &&
                  port_.setDataBits(static_cast<QSerialPort::DataBits>(s->dataBits)) &&
                  port_.setStopBits(s->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
                  port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!ok) {
    const IoError e{8015, "Could not set comm state (" + settings + ": " + port_.errorString().toStdString() + ")"};
    port_.close();
    port_.clearError();
    return e;
  }
  // The programming cable may take its power from DTR and RTS; a pseudo-terminal has
  // neither, which is no reason to fail.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(true);
  port_.clearError();
  return std::nullopt;
}

void QtSerialLine::Close() {
  if (port_.isOpen()) {
    // Closing restores the port's original settings at once, queued bytes or not.
    Drain();
    port_.close();
  }
  port_.clearError();
}

void QtSerialLine::Drain() {
  if (!port_.isOpen()) return;
  QElapsedTimer t;
  t.start();
  while (port_.bytesToWrite() > 0 && t.elapsed() < kDrainLimitMs) {
    if (!port_.waitForBytesWritten(100) && port_.error() != QSerialPort::TimeoutError) break;
  }
#ifndef _WIN32
  const int fd = static_cast<int>(port_.handle());
  if (fd < 0) {
    port_.clearError();
    return;
  }
  // tcdrain has no time limit: wait for the driver's queue here, where a stuck line
  // (a cable that went away) cannot hang the window.
  int queued = 0;
  while (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0 && t.elapsed() < kDrainLimitMs) QThread::msleep(1);
  if (queued == 0) ::tcdrain(fd);  // the last character still in the transmitter
#else
  port_.flush();
#endif
  port_.clearError();
}

std::string QtSerialLine::Settings() const {
  if (!port_.isOpen()) return "";
  const char parity = port_.parity() == QSerialPort::EvenParity ? 'E' : port_.parity() == QSerialPort::OddParity ? 'O' : 'N';
  return std::to_string(port_.baudRate()) + "," + parity + "," + std::to_string(static_cast<int>(port_.dataBits())) +
         "," + (port_.stopBits() == QSerialPort::TwoStop ? "2" : "1");
}

std::size_t QtSerialLine::BytesWaiting() {
  return port_.isOpen() ? static_cast<std::size_t>(port_.bytesAvailable()) : 0;
}

std::optional<std::uint8_t> QtSerialLine::ReadByte() {
  char c = 0;
  if (!port_.isOpen() || !port_.getChar(&c)) return std::nullopt;
  return static_cast<std::uint8_t>(c);
}

std::optional<IoError> QtSerialLine::Write(std::span<const std::uint8_t> bytes) {
  if (!port_.isOpen()) return port_error::NotOpen();
  const auto n = static_cast<qint64>(bytes.size());
  if (port_.write(reinterpret_cast<const char*>(bytes.data()), n) != n) {
    return IoError{57, "Device I/O error (" + port_.errorString().toStdString() + ")"};
  }
  // Into the driver now; the line drains it while we wait for the answer.
  QElapsedTimer t;
  t.start();
  while (port_.bytesToWrite() > 0) {
    if (!port_.waitForBytesWritten(1000) && (port_.error() != QSerialPort::TimeoutError || t.elapsed() >= 2000)) {
      const IoError e{57, "Device I/O error (" + port_.errorString().toStdString() + ")"};
      port_.clearError();
      return e;
    }
  }
  return std::nullopt;
}

void QtSerialLine::FlushInput() {
  if (!port_.isOpen()) return;
  // Both the driver's buffer and ours.
  port_.clear(QSerialPort::Input);
  port_.readAll();
  port_.clearError();
}

bool QtSerialLine::WaitForInput(Clock::Duration max) {
  if (!port_.isOpen()) return false;
  if (port_.bytesAvailable() > 0) return true;
  QElapsedTimer t;
  t.start();
  if (port_.waitForReadyRead(static_cast<int>(max.count()))) return true;
  const auto error = port_.error();
  port_.clearError();
  // A hung-up device (an adapter pulled out, a pseudo-terminal's other end closed) fails
  // every read at once; Qt calls that a read error on some devices, a resource error on others.
  if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
    fault_ = IoError{8020, "Error reading comm device (" + device_ + " went away)"};
  } else if (t.elapsed() < max.count()) {
    // Whatever ended the wait early, never come back sooner than asked.
    QThread::msleep(static_cast<unsigned long>(max.count() - t.elapsed()));
  }
  return port_.bytesAvailable() > 0;
}

}  // namespace qm47
