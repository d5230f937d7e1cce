#include "files/error_log.h"

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm47 {

ErrorLog::ErrorLog(std::string path, bool debugMode, Now now)
    : path_(std::move(path)), debugMode_(debugMode), now_(std::move(now)) {}

std::string ErrorLog::FormatEntry(std::chrono::system_clock::time_point when, const std::string& source,
                                  const IoError& error) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d,%H:%M:%S", &local);
  return std::string(stamp) + ":" + source + " -> " + std::to_string(error.number) + error.description + "\r\n";
}

void ErrorLog::WriteErrorLog(const std::string& source, const IoError& error) const {
  if (!debugMode_ || path_.empty()) return;
  // Opened and closed per entry so every entry is a complete line. Non-blocking, and
  // only a regular file is written: an err.log that is a FIFO must not hang the program.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    const std::string entry = FormatEntry(now_(), source, error);
    (void)!::write(fd, entry.data(), entry.size());
  }
  ::close(fd);
}

}  // namespace qm47
