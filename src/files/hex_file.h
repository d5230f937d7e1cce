// The .hex image file: the 16384 image bytes, no header.
#pragma once

#include <optional>
#include <string>

#include "files/io_error.h"
#include "model/memory_image.h"

namespace qm47 {

// True exactly when the file at path is 16384 bytes long.
bool HasImageLength(const std::string& path);

struct HexReadResult {
  MemoryImage image;  // the file's bytes; only meaningful without error
  std::optional<IoError> error;
};
HexReadResult ReadHexFile(const std::string& path);

std::optional<IoError> WriteHexFile(const std::string& path, const MemoryImage& img);

}  // namespace qm47
