// An input/output fault as the error log records it: a number and a description.
#pragma once

#include <string>

namespace qm47 {

struct IoError {
  int number = 0;
  std::string description;
};

// Maps an errno value to the error numbers users and dealers know from the log:
// 53 File not found, 70 Permission denied, 61 Disk full, 57 Device I/O error,
// 75 Path/File access error for anything else.
IoError IoErrorFromErrno(int err);

}  // namespace qm47
