// The radio's settings memory, named once. Every codec routine reads and writes
// through these names; per-entry addresses are base + stride * index.
#pragma once

namespace qm47 {

using Address = int;

inline constexpr int kImageSize = 16384;
inline constexpr Address kLastAddress = kImageSize - 1;

namespace addr {
// Model code, stored twice so a truncated or foreign image is recognised.
inline constexpr Address ModelCode = 0x0000;
inline constexpr Address ModelCodeCopy = 0x3FFE;

// Radio state the settings record does not hold.
inline constexpr Address CurrentGroup = 0x0004;    // 0 USA, 1 INTL, 2 Canada
inline constexpr Address CurrentMode = 0x0005;     // 0 regular, 1 weather
inline constexpr Address CurrentChannel = 0x0006;  // word
inline constexpr Address LastChannel = 0x0008;     // word
inline constexpr Address CurrentWeather = 0x000A;
inline constexpr Address MemoryChannels = 0x0020;  // + 16 * group, 8 words each
inline constexpr int MemoryChannelStride = 16;
inline constexpr int MemoryChannelCount = 8;
inline constexpr Address UserMmsiCount = 0x0085;

// Common setup.
inline constexpr Address TxPoDisplay = 0x000B;
inline constexpr Address Rotary = 0x000F;
inline constexpr Address DualWatch = 0x006F;
inline constexpr Address Scan = 0x0070;
inline constexpr Address PttScanClear = 0x0071;
inline constexpr Address ResumeTime = 0x0072;
inline constexpr Address Weater = 0x00F0;
inline constexpr Address OffsetTime = 0x00FE;         // offset byte
inline constexpr Address MagneticVariation = 0x00FF;

// Checksum over ChecksumFirst .. ChecksumFirst + ChecksumCount - 1.
inline constexpr Address Checksum = 0x005F;
inline constexpr Address ChecksumFirst = 0x0042;
inline constexpr int ChecksumCount = 29;

// Bit-packed bytes: bit 7-i for group/category i, bit 3-i for its companion.
inline constexpr Address StatusIconTxTot = 0x0073;
inline constexpr Address AllShipsCall = 0x0074;
inline constexpr Address GroupCall = 0x0075;
inline constexpr Address IndividualCall = 0x0076;
inline constexpr Address PosRequest = 0x0077;
inline constexpr Address BeepOutDisplay = 0x0078;
inline constexpr Address AtisKikkerGroup = 0x0079;
inline constexpr Address AtisMode = 0x007A;           // two bits per group, computed

inline constexpr Address AtisCode = 0x007B;           // digits, last nibble kept
inline constexpr Address UserMmsi = 0x0080;           // digits, last nibble 0
inline constexpr Address BeepOut2 = 0x0088;
inline constexpr Address BeepOut3 = 0x0089;
inline constexpr Address BeepOut5 = 0x008A;
inline constexpr Address BeepOut6 = 0x008B;
inline constexpr Address DscGroup = 0x0090;           // + group, 3 flag bytes

// Usable CH Group: one 16-byte block per group.
inline constexpr Address UsableBase = 0x00B0;         // + 16 * group
inline constexpr int UsableStride = 16;
inline constexpr int StatusNameOffset = 1;            // text 4 after the Usable byte
inline constexpr int StatusNameLength = 4;
inline constexpr Address PriorityCh = 0x00F6;         // + 2 * group, words

// Flag tables, one bit per channel, first channel in bit 7.
inline constexpr Address RegionEnable[3] = {0x0100, 0x0140, 0x0180};
inline constexpr Address RegionScan[3] = {0x0120, 0x0160, 0x01A0};
inline constexpr int RegionFlagTableBytes = 30;
inline constexpr Address WeatherEnable = 0x01C0;
inline constexpr Address WeatherScan = 0x01D0;
inline constexpr int WeatherFlagTableBytes = 2;
inline constexpr Address ExpEnable = 0x01C2;
inline constexpr Address ExpScan = 0x01D2;
inline constexpr int ExpFlagTableBytes = 5;

// Per-position flag words of the region tables (first byte used).
inline constexpr Address RegionFlagWords[3] = {0x0300, 0x0500, 0x0700};
inline constexpr int RegionFlagWordStride = 2;

// Expansion channel records.
inline constexpr Address ExpRecords = 0x0900;         // + 16 * (k - 1)
inline constexpr int ExpRecordStride = 16;
inline constexpr int ExpFlagsOffset = 0;
inline constexpr int ExpDisplayLOffset = 1;           // text 2
inline constexpr int ExpDisplayROffset = 3;           // text 1
inline constexpr int ExpRxfreqOffset = 4;             // frequency, 3 bytes
inline constexpr int ExpTxfreqOffset = 7;
inline constexpr Address ExpRecordsEnd = 0x0B7F;

// Channel names, 12 bytes each.
inline constexpr Address RegionNames[3] = {0x0C00, 0x1740, 0x2280};
inline constexpr Address WeatherNames = 0x2DC0;
inline constexpr Address ExpNames = 0x2E40;
inline constexpr int ChannelNameLength = 12;

// ATIS call signs: MID 3 bytes, DISP 3 bytes, 2 unused.
inline constexpr Address CallSigns = 0x3100;          // + 8 * (k - 1)
inline constexpr int CallSignStride = 8;
inline constexpr int CallSignMidOffset = 0;
inline constexpr int CallSignDispOffset = 3;
inline constexpr int CallSignLength = 3;

// MMSI directories: Mmsid 5 bytes, TagName 11 bytes.
inline constexpr Address IndividualDirectory = 0x3200;
inline constexpr Address GroupDirectory = 0x3500;
inline constexpr int DirectoryStride = 16;
inline constexpr int DirectoryNameOffset = 5;
inline constexpr int DirectoryNameLength = 11;

// Default-only areas of a fresh image.
inline constexpr Address DefaultTables = 0x0230;      // five 16-byte tables
inline constexpr Address ModelSpecific = 0x004D;      // 0x0F on models 2 and 3
}  // namespace addr

}  // namespace qm47
