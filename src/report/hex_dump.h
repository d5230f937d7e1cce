// The debug view of the raw image: sixteen bytes a line, under a column header.
#pragma once

#include <string>

#include "model/memory_image.h"

namespace qm47 {

std::string HexDumpText(const MemoryImage& img);

}  // namespace qm47
