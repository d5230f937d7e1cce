#include "model/fresh_image.h"

#include <sstream>
#include <vector>

#include "model/builtin_tables.h"
#include "model/codec.h"
#include "model/memory_map.h"
#include "model/models.h"

namespace qm47 {

namespace {

struct DefaultRun {
  Address first;
  std::vector<std::uint8_t> bytes;
};

const std::vector<DefaultRun>& DefaultBytes() {
  static const std::vector<DefaultRun> runs = {
      {0x0002, {0x00, 0x00, 0x00, 0x00}},
      {0x0006, {0x00, 0x1E, 0x00, 0x1E}},  // current and last channel: position 30
      {0x000A, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {0x0014, {0xFF, 0x00, 0x00}},
      {0x001C, {0x00, 0x00, 0x00, 0x00}},
      {0x0050, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {0x0060, {0x00, 0x00}},
      {0x0072, {0x03, 0x00, 0x60, 0x10, 0x10, 0xAC, 0xFE}},
      {0x0079, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {0x0080, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}},
      {0x00F6, {0x00, 0x20, 0x00, 0x20, 0x00, 0x20}},  // priority: position 32
      {0x00FD, {0x00}},
      {0x01C2, {0x00, 0x00, 0x00, 0x00, 0x00}},
      {0x01D2, {0x00, 0x00, 0x00, 0x00, 0x00}},
      {0x00B5, {'R', 'a', 'd', 'i', 'o'}},
      {0x00C5, {'R', 'a', 'm', '1'}},
      {0x00D5, {'R', 'a', 'm', '2'}},
      {0x00E5, {'C', 'P'}},
  };
  return runs;
}

// Written only when the text parses to exactly 16 hexadecimal values.
constexpr struct {
  Address first;
  const char* text;
} kDefaultTables[] = {
    {0x0230, "00,00,10,20,30,40,50,60,70,80,90,A0,B0,C0,D0,FF"},
    {0x0240, "00,93,AE,C0,C8,D2,DB,E1,E4,EA,ED,F0,F6,F9,FC,FF"},
    {0x0250, "00,93,AE,C0,C8,D2,DB,E1,E4,EA,ED,F0,F6,F9,FC,FF"},
    {0x0260, "00,93,AE,C0,C8,D2,DB,E1,E4,EA,ED,F0,F6,F9,FC,FF"},
    {0x0270, "00,08,1C,30,43,57,6B,7B,8C,9C,AA,BC,CB,D8,E0,FF"},
};

std::vector<std::uint8_t> ParseHexList(const std::string& text) {
  std::vector<std::uint8_t> out;
  std::stringstream items(text);
  for (std::string item; std::getline(items, item, ',');) out.push_back(static_cast<std::uint8_t>(std::stoi(item, nullptr, 16)));
  return out;
}

}  // namespace

void MakeFreshImage(MemoryImage& img, int modelNumber) {
  img.Fill(0xFF);
  for (const DefaultRun& run : DefaultBytes()) {
    for (std::size_t i = 0; i < run.bytes.size(); ++i) img.SetByte(run.first + static_cast<int>(i), run.bytes[i]);
  }
  for (const auto& table : kDefaultTables) {
    const auto values = ParseHexList(table.text);
    if (values.size() != 16) continue;
    for (int i = 0; i < 16; ++i) img.SetByte(table.first + i, values[static_cast<std::size_t>(i)]);
  }
  for (Address a = addr::ExpRecords; a <= addr::ExpRecordsEnd; ++a) img.SetByte(a, 0x00);

  // Model 4 too carries its code (0): without it a saved image of it would never reopen.
  if (const auto code = ModelCode(modelNumber)) {
    img.SetWordBE(addr::ModelCode, *code);
    img.SetWordBE(addr::ModelCodeCopy, *code);
  }
  if (modelNumber == 2 || modelNumber == 3) img.SetByte(addr::ModelSpecific, 0x0F);
}

void NewImageData(SettingsRecord& rec, MemoryImage& img, int modelNumber) {
  for (int r = 0; r < kRegionCount; ++r) ApplyChannelPlan(rec.Region(r), PlanOfRegion(r));
  BuildTableFromList(rec.CHWX, BuiltinWeather());
  for (auto* dir : {&rec.CHMMSID, &rec.CHGRPID}) {
    for (DirectoryEntry& e : *dir) e = DirectoryEntry{};
  }
  MakeFreshImage(img, modelNumber);
  DecodeCommonPart(img, rec);
  DecodeExpChannels(img, rec);
  EncodeImage(rec, img, modelNumber);
  // The record is what the new image reads as, so a new .dat holds what a new .hex does:
  // the encoder stores the blank offset (+31) as +12:00 and pads the empty call signs.
  DecodeCommonPart(img, rec);
}

}  // namespace qm47
