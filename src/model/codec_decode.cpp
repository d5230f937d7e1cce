// Image -> record, in the order of the memory map.
#include <algorithm>

#include "model/codec.h"
#include "model/memory_map.h"

namespace qm47 {

namespace {

void DecodeTxMode(std::uint8_t flags, Channel& ch) {
  const int mode = GetBitField(flags, 7, 2);
  ch.TxEnable = mode == 1 || mode == 3;
  ch.LowPower = mode == 1;
}

void DecodeRegionFlagByte(std::uint8_t flags, Channel& ch) {
  DecodeTxMode(flags, ch);
  ch.Duplex = GetBit(flags, 5);
  ch.PowUp = GetBit(flags, 4);
  ch.Scramble = static_cast<std::int16_t>(GetBitField(flags, 3, 3));
}

void DecodeRegion(const MemoryImage& img, std::vector<Channel>& table, int region) {
  img.GetFlagTable(addr::RegionEnable[region], addr::RegionFlagTableBytes, table, &Channel::Enable);
  img.GetFlagTable(addr::RegionScan[region], addr::RegionFlagTableBytes, table, &Channel::ScanMemory);
  const std::size_t n = std::min<std::size_t>(table.size(), kRegionPositions);
  for (std::size_t k = 0; k < n; ++k) {
    const int i = static_cast<int>(k);
    table[k].ChTag = img.GetText(addr::RegionNames[region] + addr::ChannelNameLength * i, addr::ChannelNameLength);
  }
  for (std::size_t k = 0; k < n; ++k) {
    const int i = static_cast<int>(k);
    DecodeRegionFlagByte(img.GetByte(addr::RegionFlagWords[region] + addr::RegionFlagWordStride * i), table[k]);
  }
}

void DecodeWeather(const MemoryImage& img, std::vector<Channel>& table) {
  img.GetFlagTable(addr::WeatherEnable, addr::WeatherFlagTableBytes, table, &Channel::Enable);
  img.GetFlagTable(addr::WeatherScan, addr::WeatherFlagTableBytes, table, &Channel::ScanMemory);
  const std::size_t n = std::min<std::size_t>(table.size(), kWeatherChannels);
  for (std::size_t k = 0; k < n; ++k) {
    table[k].ChTag = img.GetText(addr::WeatherNames + addr::ChannelNameLength * static_cast<int>(k),
                                 addr::ChannelNameLength);
  }
}

// A packed list: the first entry without an MMSI ends it and empties the rest.
void DecodeDirectory(const MemoryImage& img, std::vector<DirectoryEntry>& dir, Address base) {
  bool ended = false;
  for (std::size_t k = 0; k < dir.size(); ++k) {
    const Address entry = base + addr::DirectoryStride * static_cast<int>(k);
    DirectoryEntry& e = dir[k];
    e.Mmsid = img.GetDigits(entry);
    e.TagName = img.GetText(entry + addr::DirectoryNameOffset, addr::DirectoryNameLength);
    if (e.Mmsid.empty()) ended = true;
    if (ended) e = DirectoryEntry{};
    e.InUse = !ended;
  }
}

}  // namespace

void DecodeCommonPart(const MemoryImage& img, SettingsRecord& rec) {
  // Usable CH Group.
  for (int i = 0; i < kGroupCount; ++i) {
    UsableGroupEntry& g = rec.UsableGroup[static_cast<std::size_t>(i)];
    const Address block = addr::UsableBase + addr::UsableStride * i;
    g.Usable = img.GetBool(block);
    g.TxTot = img.GetBitAt(addr::StatusIconTxTot, 3 - i);
    if (i < kRegionCount) g.PriorityCh = img.GetWordBE(addr::PriorityCh + 2 * i);
    g.StatusIcon = img.GetBitAt(addr::StatusIconTxTot, 7 - i);
    if (i < kRegionCount) g.StatusName = img.GetText(block + addr::StatusNameOffset, addr::StatusNameLength);
  }

  // Common Setup: bytes as they are, no range checks.
  CommonSetupGroup& c = rec.CommonSetup;
  c.TxPoDisplay = img.GetByte(addr::TxPoDisplay);
  c.Scan = img.GetBool(addr::Scan);
  c.PttScanClear = img.GetBool(addr::PttScanClear);
  c.ResumeTime = img.GetByte(addr::ResumeTime);
  c.DualWatch = img.GetBool(addr::DualWatch);
  c.OffsetTime = static_cast<std::int16_t>(img.GetOffset(addr::OffsetTime));
  c.MagneticVariation = img.GetByte(addr::MagneticVariation);
  c.Weater = img.GetByte(addr::Weater);
  c.Rotary = img.GetBool(addr::Rotary);

  // DSC Basic.
  DscBasicGroup& b = rec.DscBasic;
  for (int i = 0; i < kRegionCount; ++i) b.DscGroup[static_cast<std::size_t>(i)] = img.GetBool(addr::DscGroup + i);
  b.UserMmsi = img.GetDigits(addr::UserMmsi);
  b.PosRequest[2] = img.GetBitAt(addr::PosRequest, 7);
  b.PosRequestTX[2] = img.GetBitAt(addr::PosRequest, 6);
  b.PosRequest[3] = img.GetBitAt(addr::PosRequest, 5);
  b.PosRequestTX[3] = img.GetBitAt(addr::PosRequest, 4);
  b.PosRequest[1] = img.GetBitAt(addr::PosRequest, 3);
  b.PosRequest[0] = img.GetBitAt(addr::PosRequest, 2);
  b.BeepOut[0] = img.GetBitAt(addr::BeepOutDisplay, 7);
  b.BeepOut[1] = img.GetBitAt(addr::BeepOutDisplay, 6);
  b.BeepOut[4] = img.GetBitAt(addr::BeepOutDisplay, 5);
  b.BeepOut[2] = img.GetBool(addr::BeepOut2);
  b.BeepOut[3] = img.GetBool(addr::BeepOut3);
  b.BeepOut[5] = img.GetBool(addr::BeepOut5);
  b.BeepOut[6] = img.GetBool(addr::BeepOut6);

  // DSC Advanced.
  DscAdvancedGroup& a = rec.DscAdvanced;
  for (int i = 0; i < 4; ++i) {
    const auto k = static_cast<std::size_t>(i);
    a.AllShipsCall[k] = img.GetBitAt(addr::AllShipsCall, 7 - i);
    a.AllShipsCallTX[k] = img.GetBitAt(addr::AllShipsCall, 3 - i);
    a.GroupCall[k] = img.GetBitAt(addr::GroupCall, 7 - i);
    a.GroupCallTX[k] = img.GetBitAt(addr::GroupCall, 3 - i);
    a.IndividualCall[k] = img.GetBitAt(addr::IndividualCall, 7 - i);
    a.IndividualCallTX[k] = img.GetBitAt(addr::IndividualCall, 3 - i);
  }
  a.DistressRelay = img.GetBitAt(addr::BeepOutDisplay, 4);

  // DSC Display.
  rec.DscDisplay[0] = img.GetBitAt(addr::BeepOutDisplay, 3);
  rec.DscDisplay[1] = img.GetBitAt(addr::BeepOutDisplay, 2);
  rec.DscDisplay[2] = img.GetBitAt(addr::BeepOutDisplay, 1);

  // ATIS Common.
  AtisCommonGroup& t = rec.AtisCommon;
  for (int i = 0; i < 4; ++i) t.AtisGroup[static_cast<std::size_t>(i)] = img.GetBitAt(addr::AtisKikkerGroup, 7 - i);
  t.AtisCode = img.GetDigits(addr::AtisCode);
  for (int i = 0; i < 4; ++i) t.KikkerGroup[static_cast<std::size_t>(i)] = img.GetBitAt(addr::AtisKikkerGroup, 3 - i);

  // ATIS Call Sign.
  for (int k = 0; k < kCallSigns; ++k) {
    const Address entry = addr::CallSigns + addr::CallSignStride * k;
    AtisCallSignEntry& cs = rec.AtisCallSign[static_cast<std::size_t>(k)];
    cs.MID = img.GetTextSkipping(entry + addr::CallSignMidOffset, addr::CallSignLength);
    cs.DISP = img.GetTextSkipping(entry + addr::CallSignDispOffset, addr::CallSignLength);
  }
}

void DecodeExpChannels(const MemoryImage& img, SettingsRecord& rec) {
  std::vector<Channel>& exp = rec.CHEXP;
  img.GetFlagTable(addr::ExpEnable, addr::ExpFlagTableBytes, exp, &Channel::Enable);
  img.GetFlagTable(addr::ExpScan, addr::ExpFlagTableBytes, exp, &Channel::ScanMemory);
  const std::size_t n = std::min<std::size_t>(exp.size(), kExpChannels);
  for (std::size_t k = 0; k < n; ++k) {
    exp[k].ChTag = img.GetText(addr::ExpNames + addr::ChannelNameLength * static_cast<int>(k), addr::ChannelNameLength);
  }
  for (std::size_t k = 0; k < n; ++k) {
    Channel& ch = exp[k];
    const Address rec16 = addr::ExpRecords + addr::ExpRecordStride * static_cast<int>(k);
    const std::uint8_t flags = img.GetByte(rec16 + addr::ExpFlagsOffset);
    DecodeTxMode(flags, ch);
    ch.PowUp = GetBit(flags, 4);
    ch.Scramble = static_cast<std::int16_t>(GetBitField(flags, 3, 3));
    ch.Wide = GetBit(flags, 0);
    ch.CHDisplayL = img.GetText(rec16 + addr::ExpDisplayLOffset, 2);
    ch.CHDisplayR = img.GetText(rec16 + addr::ExpDisplayROffset, 1);
    ch.Rxfreq = img.GetFrequency(rec16 + addr::ExpRxfreqOffset);
    ch.Txfreq = img.GetFrequency(rec16 + addr::ExpTxfreqOffset);
    // Tones and Comp have no place in the image; they last until the next decode.
    ch.Dcs = {};
    ch.Ctcss = {};
    ch.Comp = false;
  }
}

void DecodeImage(const MemoryImage& img, SettingsRecord& rec) {
  DecodeCommonPart(img, rec);
  for (int r = 0; r < kRegionCount; ++r) DecodeRegion(img, rec.Region(r), r);
  DecodeWeather(img, rec.CHWX);
  DecodeDirectory(img, rec.CHMMSID, addr::IndividualDirectory);
  DecodeDirectory(img, rec.CHGRPID, addr::GroupDirectory);
  DecodeExpChannels(img, rec);
}

}  // namespace qm47
