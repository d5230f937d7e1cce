// Whole-file reads and writes; writes never leave a half-written target behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/io_error.h"

namespace qm47 {

// Writes beside `path`, flushes, then renames over it. On failure the previous
// file is untouched and the temporary file is removed.
std::optional<IoError> WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& data);
std::optional<IoError> WriteFileAtomic(const std::string& path, const std::string& data);

struct FileBytes {
  std::vector<std::uint8_t> data;
  std::optional<IoError> error;
};
// Refuses to read more than maxBytes (then reports an access error).
FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes);

// The file's length, or nullopt when it is not a readable regular file.
std::optional<std::uintmax_t> FileLength(const std::string& path);

}  // namespace qm47
