#include "files/io_error.h"

#include <cerrno>

namespace qm47 {

IoError IoErrorFromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return {53, "File not found"};
    case EACCES:
    case EPERM:
    case EROFS:
      return {70, "Permission denied"};
    case ENOSPC:
    case EDQUOT:
      return {61, "Disk full"};
    case EIO:
      return {57, "Device I/O error"};
    default:
      return {75, "Path/File access error"};
  }
}

}  // namespace qm47
