// Record -> image, mirroring the decoder line for line.
#include <algorithm>

#include "model/codec.h"
#include "model/memory_map.h"

namespace qm47 {

namespace {

int TxMode(const Channel& ch) {
  if (!ch.TxEnable) return 0;
  return ch.LowPower ? 1 : 3;
}

std::uint8_t RegionFlagByte(const Channel& ch) {
  std::uint8_t b = 0;
  SetBitField(b, 7, 2, TxMode(ch));
  SetBit(b, ch.DupCapable && ch.Duplex ? 1 : 0, 5);
  SetBit(b, ch.PowUp ? 1 : 0, 4);
  SetBitField(b, 3, 3, ch.Scramble);
  return b;
}

std::uint8_t ExpFlagByte(const Channel& ch) {
  std::uint8_t b = 0;
  SetBitField(b, 7, 2, TxMode(ch));
  SetBit(b, ch.PowUp ? 1 : 0, 4);
  SetBitField(b, 3, 3, ch.Scramble);
  SetBit(b, ch.Wide ? 1 : 0, 0);
  return b;
}

void EncodeRegion(MemoryImage& img, const std::vector<Channel>& table, int region) {
  img.SetFlagTable(addr::RegionEnable[region], addr::RegionFlagTableBytes, table, &Channel::Enable);
  img.SetFlagTable(addr::RegionScan[region], addr::RegionFlagTableBytes, table, &Channel::ScanMemory);
  const std::size_t n = std::min<std::size_t>(table.size(), kRegionPositions);
  for (std::size_t k = 0; k < n; ++k) {
    const int i = static_cast<int>(k);
    img.SetText(addr::RegionNames[region] + addr::ChannelNameLength * i, table[k].ChTag, addr::ChannelNameLength);
  }
  for (std::size_t k = 0; k < n; ++k) {
    const int i = static_cast<int>(k);
    img.SetByte(addr::RegionFlagWords[region] + addr::RegionFlagWordStride * i, RegionFlagByte(table[k]));
  }
}

void EncodeWeather(MemoryImage& img, const std::vector<Channel>& table) {
  img.SetFlagTable(addr::WeatherEnable, addr::WeatherFlagTableBytes, table, &Channel::Enable);
  img.SetFlagTable(addr::WeatherScan, addr::WeatherFlagTableBytes, table, &Channel::ScanMemory);
  const std::size_t n = std::min<std::size_t>(table.size(), kWeatherChannels);
  for (std::size_t k = 0; k < n; ++k) {
    img.SetText(addr::WeatherNames + addr::ChannelNameLength * static_cast<int>(k), table[k].ChTag,
                addr::ChannelNameLength);
  }
}

void EncodeDirectory(MemoryImage& img, const std::vector<DirectoryEntry>& dir, Address base, int capacity) {
  const std::size_t n = std::min<std::size_t>(dir.size(), static_cast<std::size_t>(capacity));
  for (std::size_t k = 0; k < n; ++k) {
    const Address entry = base + addr::DirectoryStride * static_cast<int>(k);
    img.SetDigits(entry, dir[k].Mmsid, true);
    img.SetText(entry + addr::DirectoryNameOffset, dir[k].TagName, addr::DirectoryNameLength);
  }
}

void EncodeExpChannels(MemoryImage& img, const std::vector<Channel>& exp) {
  img.SetFlagTable(addr::ExpEnable, addr::ExpFlagTableBytes, exp, &Channel::Enable);
  img.SetFlagTable(addr::ExpScan, addr::ExpFlagTableBytes, exp, &Channel::ScanMemory);
  const std::size_t n = std::min<std::size_t>(exp.size(), kExpChannels);
  for (std::size_t k = 0; k < n; ++k) {
    img.SetText(addr::ExpNames + addr::ChannelNameLength * static_cast<int>(k), exp[k].ChTag, addr::ChannelNameLength);
  }
  for (std::size_t k = 0; k < n; ++k) {
    const Channel& ch = exp[k];
    const Address rec16 = addr::ExpRecords + addr::ExpRecordStride * static_cast<int>(k);
    img.SetByte(rec16 + addr::ExpFlagsOffset, ExpFlagByte(ch));
    const std::string right = " " + ch.CHDisplayR;
    const std::string display = (ch.CHDisplayL + "  ").substr(0, 2) + right.back();
    img.SetText(rec16 + addr::ExpDisplayLOffset, display, 3);
    img.SetFrequency(rec16 + addr::ExpRxfreqOffset, ch.Rxfreq);
    img.SetFrequency(rec16 + addr::ExpTxfreqOffset, ch.Txfreq);
  }
}

}  // namespace

SettingsRecord StoredForm(const SettingsRecord& record, int modelNumber) {
  SettingsRecord rec = record;
  PutInStoredForm(rec, modelNumber);
  return rec;
}

void PutInStoredForm(SettingsRecord& rec, int modelNumber) {
  // The first model cannot show a group without a single usable channel.
  if (modelNumber == 1) {
    for (int i = 0; i < kGroupCount; ++i) {
      const auto& table = rec.GroupTable(i);
      if (std::none_of(table.begin(), table.end(), [](const Channel& ch) { return ch.Enable; })) {
        rec.UsableGroup[static_cast<std::size_t>(i)].Usable = false;
      }
    }
  }
  for (AtisCallSignEntry& cs : rec.AtisCallSign) {
    cs.MID = RightJustified(cs.MID, addr::CallSignLength);
    cs.DISP = RightJustified(cs.DISP, addr::CallSignLength);
  }
}

void EncodeImage(const SettingsRecord& record, MemoryImage& img, int modelNumber) {
  const SettingsRecord rec = StoredForm(record, modelNumber);

  // Usable CH Group.
  for (int i = 0; i < kGroupCount; ++i) {
    const UsableGroupEntry& g = rec.UsableGroup[static_cast<std::size_t>(i)];
    const Address block = addr::UsableBase + addr::UsableStride * i;
    img.SetBool(block, g.Usable);
    img.SetBitAt(addr::StatusIconTxTot, g.TxTot, 3 - i);
    if (i < kRegionCount) img.SetWordBE(addr::PriorityCh + 2 * i, g.PriorityCh);
    img.SetBitAt(addr::StatusIconTxTot, g.StatusIcon, 7 - i);
    if (i < kRegionCount) img.SetText(block + addr::StatusNameOffset, g.StatusName, addr::StatusNameLength);
  }

  // Common Setup.
  const CommonSetupGroup& c = rec.CommonSetup;
  img.SetByte(addr::TxPoDisplay, c.TxPoDisplay);
  img.SetBool(addr::Scan, c.Scan);
  img.SetByte(addr::ResumeTime, c.ResumeTime);
  img.SetBool(addr::PttScanClear, c.PttScanClear);
  img.SetBool(addr::DualWatch, c.DualWatch);
  img.SetOffset(addr::OffsetTime, c.OffsetTime);
  img.SetByte(addr::MagneticVariation, c.MagneticVariation);
  img.SetByte(addr::Weater, c.Weater);
  img.SetBool(addr::Rotary, c.Rotary);

  // DSC Basic.
  const DscBasicGroup& b = rec.DscBasic;
  for (int i = 0; i < kRegionCount; ++i) img.SetBool(addr::DscGroup + i, b.DscGroup[static_cast<std::size_t>(i)]);
  img.SetDigits(addr::UserMmsi, b.UserMmsi, true);
  img.SetBitAt(addr::PosRequest, b.PosRequest[2], 7);
  img.SetBitAt(addr::PosRequest, b.PosRequestTX[2], 6);
  img.SetBitAt(addr::PosRequest, b.PosRequest[3], 5);
  img.SetBitAt(addr::PosRequest, b.PosRequestTX[3], 4);
  img.SetBitAt(addr::PosRequest, b.PosRequest[1], 3);
  img.SetBitAt(addr::PosRequest, b.PosRequest[0], 2);
  img.SetBitAt(addr::BeepOutDisplay, b.BeepOut[0], 7);
  img.SetBitAt(addr::BeepOutDisplay, b.BeepOut[1], 6);
  img.SetBitAt(addr::BeepOutDisplay, b.BeepOut[4], 5);
  img.SetBool(addr::BeepOut2, b.BeepOut[2]);
  img.SetBool(addr::BeepOut3, b.BeepOut[3]);
  img.SetBool(addr::BeepOut5, b.BeepOut[5]);
  img.SetBool(addr::BeepOut6, b.BeepOut[6]);

  // DSC Advanced.
  const DscAdvancedGroup& a = rec.DscAdvanced;
  for (int i = 0; i < 4; ++i) {
    const auto k = static_cast<std::size_t>(i);
    img.SetBitAt(addr::AllShipsCall, a.AllShipsCall[k], 7 - i);
    img.SetBitAt(addr::AllShipsCall, a.AllShipsCallTX[k], 3 - i);
    img.SetBitAt(addr::GroupCall, a.GroupCall[k], 7 - i);
    img.SetBitAt(addr::GroupCall, a.GroupCallTX[k], 3 - i);
    img.SetBitAt(addr::IndividualCall, a.IndividualCall[k], 7 - i);
    img.SetBitAt(addr::IndividualCall, a.IndividualCallTX[k], 3 - i);
  }
  img.SetBitAt(addr::BeepOutDisplay, a.DistressRelay, 4);

  // DSC Display.
  img.SetBitAt(addr::BeepOutDisplay, rec.DscDisplay[0], 3);
  img.SetBitAt(addr::BeepOutDisplay, rec.DscDisplay[1], 2);
  img.SetBitAt(addr::BeepOutDisplay, rec.DscDisplay[2], 1);

  // ATIS Common.
  const AtisCommonGroup& t = rec.AtisCommon;
  for (int i = 0; i < 4; ++i) img.SetBitAt(addr::AtisKikkerGroup, t.AtisGroup[static_cast<std::size_t>(i)], 7 - i);
  for (int i = 0; i < 4; ++i) img.SetBitAt(addr::AtisKikkerGroup, t.KikkerGroup[static_cast<std::size_t>(i)], 3 - i);
  img.SetDigits(addr::AtisCode, t.AtisCode, false);

  // ATIS Call Sign.
  for (int k = 0; k < kCallSigns; ++k) {
    const Address entry = addr::CallSigns + addr::CallSignStride * k;
    const AtisCallSignEntry& cs = rec.AtisCallSign[static_cast<std::size_t>(k)];
    img.SetCallSign(entry + addr::CallSignMidOffset, cs.MID, addr::CallSignLength);
    img.SetCallSign(entry + addr::CallSignDispOffset, cs.DISP, addr::CallSignLength);
  }

  for (int r = 0; r < kRegionCount; ++r) EncodeRegion(img, rec.Region(r), r);
  EncodeWeather(img, rec.CHWX);
  EncodeDirectory(img, rec.CHMMSID, addr::IndividualDirectory, kIndividualEntries);
  EncodeDirectory(img, rec.CHGRPID, addr::GroupDirectory, kGroupEntries);
  EncodeExpChannels(img, rec.CHEXP);
}

void SetChecksum(MemoryImage& img) {
  img.SetByte(addr::Checksum, img.Sum8(addr::ChecksumFirst, addr::ChecksumCount));
}

void PrepareImageForExport(const SettingsRecord& record, MemoryImage& img, int modelNumber) {
  const SettingsRecord rec = StoredForm(record, modelNumber);
  EncodeImage(rec, img, modelNumber);
  NormaliseImage(rec, img);
  SetChecksum(img);
}

}  // namespace qm47
