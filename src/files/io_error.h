// An input/output fault as the error log records it: a number and a description,
// plus the system's own words for it, which the messages show.
#pragma once

#include <string>
#include <utility>

namespace qm47 {

struct IoError {
  IoError() = default;
  IoError(int number_, std::string description_, std::string reason_ = {})
      : number(number_), description(std::move(description_)), reason(std::move(reason_)) {}

  int number = 0;
  std::string description;
  std::string reason;  // "Permission denied", "No space left on device", ... (empty when unknown)
};

// Maps an errno value to the error numbers users and dealers know from the log:
// 53 File not found, 70 Permission denied, 61 Disk full, 57 Device I/O error,
// 75 Path/File access error for anything else.
IoError IoErrorFromErrno(int err);

// A name that is a folder, a pipe or a device where a file belongs.
IoError NotARegularFile();

}  // namespace qm47
