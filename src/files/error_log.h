// err.log: one line per trapped fault, written in debug mode only, never failing loudly.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "files/io_error.h"

namespace qm47 {

class ErrorLog {
 public:
  using Now = std::function<std::chrono::system_clock::time_point()>;

  ErrorLog(std::string path, bool debugMode, Now now = std::chrono::system_clock::now);

  // "date,time:source -> NNdescription" CR LF, appended; failures are ignored.
  void WriteErrorLog(const std::string& source, const IoError& error) const;
  const std::string& path() const { return path_; }
  bool enabled() const { return debugMode_; }

  static std::string FormatEntry(std::chrono::system_clock::time_point when, const std::string& source,
                                 const IoError& error);

 private:
  std::string path_;
  bool debugMode_;
  Now now_;
};

}  // namespace qm47
