#include "report/hex_dump.h"

#include <cstdio>

namespace qm47 {

std::string HexDumpText(const MemoryImage& img) {
  std::string out = "      ";
  char cell[8];
  for (int col = 0; col < 16; ++col) {
    std::snprintf(cell, sizeof cell, " %02X", col);
    out += cell;
  }
  out += "\r\n ---- ";
  for (int col = 0; col < 16; ++col) out += " --";
  out += "\r\n";
  out.reserve(out.size() + (kImageSize / 16) * 56);
  for (Address a = 0; a <= kLastAddress; a += 16) {
    std::snprintf(cell, sizeof cell, " %04X:", static_cast<unsigned>(a));
    out += cell;
    for (int i = 0; i < 16; ++i) {
      std::snprintf(cell, sizeof cell, " %02X", img.GetByte(a + i));
      out += cell;
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace qm47
