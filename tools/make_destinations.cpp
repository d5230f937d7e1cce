// Writes the sample destination files (regional default images) for every named
// model into the folder given as the only argument. Run by the build; not installed.
//
// What each region's dealer would hand over, on top of the model's built-in defaults:
// - USA: the USA plan to start in, Canada usable for trips north; International off,
//   since its duplex channels would catch a US boater on the wrong frequency.
//   DSC in both usable groups; weather alert on weather channel and scan.
// - CANADA: the Canada plan to start in, USA and International usable as well
//   (shared lakes and coasts, ships bound abroad); DSC in all three; weather alert
//   as in the USA.
// - INTL: the International plan only, with DSC; the weather channels and the weather
//   alert are off (those broadcasts exist only in North America).
// Everywhere: no expansion channels, so that group is off; channel 16 is the current
// and priority channel and 16 and 9 are in the scan memory; the NMEA time offset is
// UTC and bearings are true (the fresh image holds values outside the ranges); ATIS
// is sent in no group and is killed in the North American groups, where it is not
// used; on the inland waterways that use it the owner enters a code and switches it on.
#include <array>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "editor/documents/new_image.h"
#include "files/atomic_file.h"
#include "files/data_folder.h"
#include "model/builtin_tables.h"
#include "model/codec.h"
#include "model/fresh_image.h"
#include "model/memory_map.h"

namespace {

using namespace qm47;

constexpr int kNamedModels = 4;
constexpr int kWeatherAndScan = 3;

struct Region {
  const char* name;
  ChannelGroup home;
  std::array<bool, kRegionCount> usable;  // USA, INTL, Canada
  std::array<bool, kRegionCount> dsc;
  bool weather;
};

constexpr Region kRegions[] = {
    {"USA", kUSA, {true, false, true}, {true, false, true}, true},
    {"CANADA", kCanada, {true, true, true}, {true, true, true}, true},
    {"INTL", kINTL, {false, true, false}, {false, true, false}, false},
};

MemoryImage RegionalImage(const Region& region, int model) {
  SettingsRecord rec;
  MemoryImage img;
  NewImageData(rec, img, model);
  const int ch16 = PositionOfLabel("16");
  const int ch9 = PositionOfLabel("09");
  for (int g = 0; g < kRegionCount; ++g) {
    rec.UsableGroup[static_cast<std::size_t>(g)].Usable = region.usable[static_cast<std::size_t>(g)];
    rec.UsableGroup[static_cast<std::size_t>(g)].PriorityCh = ch16;
    rec.Region(g)[static_cast<std::size_t>(ch16)].ScanMemory = true;
    rec.Region(g)[static_cast<std::size_t>(ch9)].ScanMemory = true;
  }
  rec.UsableGroup[kEXP].Usable = false;
  rec.DscBasic.DscGroup = region.dsc;

  rec.CommonSetup.OffsetTime = 0;
  rec.CommonSetup.MagneticVariation = 0;
  rec.CommonSetup.Weater = region.weather ? kWeatherAndScan : 0;
  for (Channel& wx : rec.CHWX) wx.Enable = region.weather;

  rec.AtisCommon.AtisGroup = {};
  rec.AtisCommon.KikkerGroup = {true, false, true, false};

  // The radio's own channel state: switched on for the first time, it shows 16 at home.
  img.SetByte(addr::CurrentGroup, region.home);
  img.SetByte(addr::CurrentMode, 0);
  img.SetWordBE(addr::CurrentChannel, ch16);
  img.SetWordBE(addr::LastChannel, ch16);
  PrepareImageForExport(rec, img, model);
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: " << argv[0] << " FOLDER   writes the sample destination files into FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  for (int model = 1; model <= kNamedModels; ++model) {
    const std::string suffix = DestinationSuffix(MakeDescriptor(model, false, false));
    for (const Region& region : kRegions) {
      const MemoryImage img = RegionalImage(region, model);
      const std::string path = JoinPath(folder, region.name + suffix + ".ini");
      const std::vector<std::uint8_t> bytes(img.bytes().begin(), img.bytes().end());
      if (const auto error = WriteFileAtomic(path, bytes)) {
        const std::string why = error->reason.empty() ? error->description : error->reason;
        std::cerr << "cannot write '" << path << "': " << why << "\n";
        return 1;
      }
    }
  }
  return 0;
}
