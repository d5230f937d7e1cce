#include "files/hex_file.h"

#include <algorithm>

#include "files/atomic_file.h"

namespace qm47 {

bool HasImageLength(const std::string& path) { return FileLength(path) == std::uintmax_t{kImageSize}; }

HexReadResult ReadHexFile(const std::string& path) {
  HexReadResult result;
  FileBytes file = ReadWholeFile(path, kImageSize);
  if (file.error) {
    result.error = file.error;
    return result;
  }
  if (file.data.size() != static_cast<std::size_t>(kImageSize)) {
    // The file changed length between the length test and the read.
    result.error = IoError{62, "Input past end of file", "the file changed length while it was read"};
    return result;
  }
  std::copy(file.data.begin(), file.data.end(), result.image.bytes().begin());
  return result;
}

std::optional<IoError> WriteHexFile(const std::string& path, const MemoryImage& img) {
  return WriteFileAtomic(path, std::vector<std::uint8_t>(img.bytes().begin(), img.bytes().end()));
}

}  // namespace qm47
