#include "sim/pty_radio.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace qm47::sim {

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

int BaudOf(speed_t s) {
  switch (s) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
  }
}

// Time `count` bytes take on the line: a start bit, eight data bits and a stop bit each.
std::chrono::nanoseconds LineTime(std::size_t count, int baud) {
  return std::chrono::nanoseconds(static_cast<long long>(count) * 10 * 1'000'000'000LL / baud);
}

}  // namespace

PtyRadio::PtyRadio(RadioEngine& radio, bool throttle) : radio_(radio), throttle_(throttle) {}

PtyRadio::~PtyRadio() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

std::optional<std::string> PtyRadio::Open(std::string& error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return std::nullopt;
  }
  const char* name = ::ptsname(master_);
  if (!name) {
    error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::string path = name;
  slave_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  if (slave_ < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  // Raw from the start: no echo of the radio's answers before the tool sets its mode.
  termios t{};
  if (::tcgetattr(slave_, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
  }
  return path;
}

int PtyRadio::LineRate() const {
  termios t{};
  // The master reports the terminal settings of its slave, that is, the tool's.
  if (::tcgetattr(master_, &t) != 0) return 38400;
  const int baud = BaudOf(::cfgetospeed(&t));
  return baud > 0 ? baud : 38400;
}

void PtyRadio::SendPaced(const Bytes& bytes) {
  constexpr std::size_t kChunk = 8;
  const int baud = LineRate();
  SteadyTime due = std::chrono::steady_clock::now();
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t n = throttle_ ? std::min(kChunk, bytes.size() - at) : bytes.size() - at;
    if (throttle_) {
      due += LineTime(n, baud);
      std::this_thread::sleep_until(due);
    }
    const ssize_t w = ::write(master_, bytes.data() + at, n);
    if (w < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return;
    }
    at += static_cast<std::size_t>(w);
  }
}

void PtyRadio::Serve(const std::function<bool()>& keepGoing) {
  std::uint8_t buf[4096];
  SteadyTime lineFree = std::chrono::steady_clock::now();
  while (keepGoing()) {
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, 50);
    if (ready <= 0 || !(p.revents & POLLIN)) {
      if (ready > 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    const ssize_t r = ::read(master_, buf, sizeof buf);
    if (r <= 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    const auto count = static_cast<std::size_t>(r);
    if (throttle_) {
      // The bytes are complete only when their last bit has crossed the line.
      const SteadyTime now = std::chrono::steady_clock::now();
      lineFree = std::max(now, lineFree) + LineTime(count, LineRate());
      std::this_thread::sleep_until(lineFree);
    }
    const Bytes answer = radio_.Receive(std::span<const std::uint8_t>(buf, count));
    if (!answer.empty()) SendPaced(answer);
  }
}

}  // namespace qm47::sim
