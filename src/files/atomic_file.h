// Whole-file reads and writes; writes never leave a half-written target behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/io_error.h"

namespace qm47 {

// Writes ".NAME.tmpPID" beside `path`, flushes, then renames it over `path`. On failure
// the previous file is untouched and the temporary file is removed; the temporary files
// of saves of `path` whose process died are removed too. A symbolic link is followed to
// the file it names, except one another user planted in a sticky world-writable folder
// (as the kernel's protected-symlink rule refuses it); the replaced file keeps its
// permission bits and, where the system allows, its owner. A target the user may not
// write is refused, as is a file larger than the process may write. Hard links to the
// old file keep the old contents: that is the price of never leaving a half-written file.
std::optional<IoError> WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& data);
std::optional<IoError> WriteFileAtomic(const std::string& path, const std::string& data);

// Why a save to `path` would fail before anything is written (the folder is missing
// or not writable, the target is read-only or not a file); nullopt when it may succeed.
std::optional<IoError> CheckWritable(const std::string& path);

struct FileBytes {
  std::vector<std::uint8_t> data;
  std::optional<IoError> error;
};
// Reads a regular file only (a pipe or device is refused without blocking).
// Refuses to read more than maxBytes (then reports an access error).
FileBytes ReadWholeFile(const std::string& path, std::size_t maxBytes);

// The file's length, or nullopt when it is not a readable regular file.
std::optional<std::uintmax_t> FileLength(const std::string& path);

}  // namespace qm47
