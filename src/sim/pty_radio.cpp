#include "sim/pty_radio.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace qm47::sim {

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kChunk = 8;  // the radio's answers go out in pieces this size

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

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t w = ::write(fd, bytes, count);
    if (w < 0 && errno != EINTR && errno != EAGAIN) return false;
    if (w > 0) {
      bytes += w;
      count -= static_cast<std::size_t>(w);
    }
  }
  return true;
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

std::optional<PtyRadio::Time> PtyRadio::NextDue() const {
  std::optional<Time> due;
  if (!heard_.empty()) due = heard_.front().complete;
  if (!outgoing_.empty()) due = due ? std::min(*due, chunkDue_) : chunkDue_;
  return due;
}

bool PtyRadio::ReadInput(Time now) {
  std::uint8_t buf[4096];
  const ssize_t r = ::read(master_, buf, sizeof buf);
  if (r <= 0) return false;
  // Taken at once: the tool changes its rate only once its bytes have had time to cross.
  const int baud = LineRate();
  const auto count = static_cast<std::size_t>(r);
  const Time complete = throttle_ ? std::max(now, inFree_) + LineTime(count, baud) : now;
  inFree_ = complete;
  heard_.push_back({Bytes(buf, buf + count), baud, complete});
  return true;
}

void PtyRadio::HearDue(Time now) {
  while (!heard_.empty() && heard_.front().complete <= now) {
    Reply reply = radio_.Receive(heard_.front().bytes, heard_.front().baud);
    heard_.pop_front();
    if (!reply.bytes.empty()) outgoing_.push_back({std::move(reply.bytes), reply.rate});
  }
}

void PtyRadio::SendDue(Time now) {
  while (!outgoing_.empty()) {
    Outgoing& o = outgoing_.front();
    if (chunk_ == 0) {
      chunk_ = throttle_ ? std::min(kChunk, o.bytes.size() - o.sent) : o.bytes.size() - o.sent;
      chunkDue_ = throttle_ ? std::max(now, outFree_) + LineTime(chunk_, o.baud) : now;
    }
    if (chunkDue_ > now) return;
    outFree_ = chunkDue_;
    const std::size_t n = std::exchange(chunk_, 0);
    const int toolRate = LineRate();
    if (toolRate != o.baud) {
      // A UART at another rate makes garbage of it: the rest of the answer is gone.
      if (onLost_) onLost_(Bytes(o.bytes.begin() + static_cast<std::ptrdiff_t>(o.sent), o.bytes.end()), o.baud, toolRate);
      outgoing_.pop_front();
      continue;
    }
    if (!WriteAll(master_, o.bytes.data() + o.sent, n)) {
      outgoing_.pop_front();
      continue;
    }
    o.sent += n;
    if (o.sent == o.bytes.size()) outgoing_.pop_front();
  }
}

void PtyRadio::Serve(const std::function<bool()>& keepGoing) {
  while (keepGoing()) {
    // Woken by the tool's bytes at once, so each is taken with the rate it was sent at.
    std::chrono::nanoseconds wait = 50ms;
    if (const auto due = NextDue()) wait = std::clamp<std::chrono::nanoseconds>(*due - Clock::now(), 0ns, wait);
    const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000), static_cast<long>(wait.count() % 1'000'000'000)};
    pollfd p{master_, POLLIN, 0};
    const int ready = ::ppoll(&p, 1, &timeout, nullptr);
    const bool read = ready > 0 && (p.revents & POLLIN) && ReadInput(Clock::now());
    if (ready > 0 && !read) std::this_thread::sleep_for(5ms);
    const Time now = Clock::now();
    HearDue(now);
    SendDue(now);
  }
}

}  // namespace qm47::sim
