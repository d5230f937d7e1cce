// The decoded, editable form of the memory image; groups mirror the .dat sections.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm47 {

// Channel group index used by every per-group array.
enum ChannelGroup : int { kUSA = 0, kINTL = 1, kCanada = 2, kEXP = 3 };
inline constexpr int kGroupCount = 4;
inline constexpr int kRegionCount = 3;
inline constexpr int kRegionPositions = 240;
inline constexpr int kWeatherChannels = 10;
inline constexpr int kExpChannels = 40;
inline constexpr int kCallSigns = 20;
inline constexpr int kIndividualEntries = 48;
inline constexpr int kGroupEntries = 10;

struct UsableGroupEntry {
  bool Usable = false;
  bool TxTot = false;
  std::int32_t PriorityCh = 0;  // 65535 reads back from an empty field
  bool StatusIcon = false;
  std::string StatusName;

  bool operator==(const UsableGroupEntry&) const = default;
};

struct CommonSetupGroup {
  std::int16_t TxPoDisplay = 0;
  bool Scan = false;
  std::int16_t ResumeTime = 0;
  bool PttScanClear = false;
  bool DualWatch = false;
  std::int16_t OffsetTime = 0;  // half hours
  std::int16_t MagneticVariation = 0;
  std::int16_t Weater = 0;
  bool Rotary = false;

  bool operator==(const CommonSetupGroup&) const = default;
};

struct DscBasicGroup {
  std::array<bool, 3> DscGroup{};
  std::string UserMmsi;
  std::array<bool, 4> PosRequest{};
  std::array<bool, 4> PosRequestTX{};
  std::array<bool, 8> BeepOut{};

  bool operator==(const DscBasicGroup&) const = default;
};

struct DscAdvancedGroup {
  std::array<bool, 4> AllShipsCall{};
  std::array<bool, 4> AllShipsCallTX{};
  std::array<bool, 4> GroupCall{};
  std::array<bool, 4> GroupCallTX{};
  std::array<bool, 4> IndividualCall{};
  std::array<bool, 4> IndividualCallTX{};
  bool DistressRelay = false;

  bool operator==(const DscAdvancedGroup&) const = default;
};

struct AtisCommonGroup {
  std::array<bool, 4> AtisGroup{};
  std::string AtisCode;
  std::array<bool, 4> KikkerGroup{};

  bool operator==(const AtisCommonGroup&) const = default;
};

struct AtisCallSignEntry {
  std::string MID;
  std::string DISP;

  bool operator==(const AtisCallSignEntry&) const = default;
};

struct Channel {
  std::int16_t Position = 0;
  bool Enable = false;
  bool LowPower = false;
  bool PowUp = false;
  bool Duplex = false;
  bool DupCapable = false;
  bool TxEnable = false;
  bool DispayA = false;
  bool ScanMemory = false;
  std::string ChTag;
  std::int16_t Scramble = 0;  // bit 2 on, bits 1-0 code
  bool RxOnly = false;
  bool Wide = false;
  std::array<std::int16_t, 2> Dcs{};
  std::array<std::int16_t, 2> Ctcss{};
  bool Comp = false;
  std::string CHDisplayL;
  std::string CHDisplayR;
  double Txfreq = 0;
  double Rxfreq = 0;

  bool operator==(const Channel&) const = default;
};

struct DirectoryEntry {
  bool InUse = false;
  std::string TagName;
  std::string Mmsid;

  bool operator==(const DirectoryEntry&) const = default;
};

struct SettingsRecord {
  std::array<UsableGroupEntry, kGroupCount> UsableGroup{};
  CommonSetupGroup CommonSetup;
  DscBasicGroup DscBasic;
  DscAdvancedGroup DscAdvanced;
  std::array<bool, 3> DscDisplay{};
  AtisCommonGroup AtisCommon;
  std::array<AtisCallSignEntry, kCallSigns> AtisCallSign{};  // call sign k at [k - 1]

  // Region tables (240 positions) and the weather table (10) are built by the
  // new-image set-up; CHEXP is fixed, expansion channel k at [k - 1].
  std::vector<Channel> CHUSA;
  std::vector<Channel> CHINT;
  std::vector<Channel> CHCAN;
  std::vector<Channel> CHWX;
  std::vector<Channel> CHEXP = std::vector<Channel>(kExpChannels);

  std::vector<DirectoryEntry> CHMMSID = std::vector<DirectoryEntry>(kIndividualEntries);
  std::vector<DirectoryEntry> CHGRPID = std::vector<DirectoryEntry>(kGroupEntries);

  std::vector<Channel>& Region(int group);
  const std::vector<Channel>& Region(int group) const;
  // The table of a channel group, CHEXP for group 3.
  std::vector<Channel>& GroupTable(int group);
  const std::vector<Channel>& GroupTable(int group) const;

  bool operator==(const SettingsRecord&) const = default;
};

}  // namespace qm47
