#include "files/io_error.h"

#include <cerrno>
#include <cstring>

namespace qm47 {

namespace {

IoError Numbered(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return {53, "File not found", {}};
    case EACCES:
    case EPERM:
    case EROFS:
      return {70, "Permission denied", {}};
    case ENOSPC:
    case EDQUOT:
      return {61, "Disk full", {}};
    case EIO:
      return {57, "Device I/O error", {}};
    default:
      return {75, "Path/File access error", {}};
  }
}

}  // namespace

IoError IoErrorFromErrno(int err) {
  IoError e = Numbered(err);
  e.reason = std::strerror(err);
  return e;
}

IoError NotARegularFile() { return {75, "Path/File access error", "not a regular file"}; }

}  // namespace qm47
