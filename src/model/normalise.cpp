// Makes the radio's remembered channel state point at channels it can use.
#include <algorithm>
#include <optional>

#include "model/codec.h"
#include "model/memory_map.h"

namespace qm47 {

namespace {

constexpr int kFirstExpState = 240;  // state words number expansion channels 240..279

bool GroupUsable(const MemoryImage& img, int group) {
  return img.GetByte(addr::UsableBase + addr::UsableStride * group) != 0;
}

bool FlagBit(const MemoryImage& img, Address table, int index) {
  return img.GetBitAt(table + index / 8, 7 - index % 8);
}

bool ChannelUsable(const MemoryImage& img, int group, int c) {
  if (c >= 0 && c < kRegionPositions) return GroupUsable(img, group) && FlagBit(img, addr::RegionEnable[group], c);
  if (c >= kFirstExpState && c < kFirstExpState + kExpChannels) {
    return GroupUsable(img, kEXP) && FlagBit(img, addr::ExpEnable, c - kFirstExpState);
  }
  return false;
}

std::optional<int> FirstEnabled(const std::vector<Channel>& table) {
  const auto it = std::find_if(table.begin(), table.end(), [](const Channel& ch) { return ch.Enable; });
  if (it == table.end()) return std::nullopt;
  return static_cast<int>(it - table.begin());
}

void NormaliseRegularChannel(const SettingsRecord& rec, MemoryImage& img) {
  int g = img.GetByte(addr::CurrentGroup);
  if (g < 0 || g >= kRegionCount) return;
  if (!GroupUsable(img, g)) {
    for (int other : {(g + 1) % 3, (g + 2) % 3}) {
      if (GroupUsable(img, other)) {
        g = other;
        break;
      }
    }
    img.SetByte(addr::CurrentGroup, g);
  }

  std::optional<int> channel = img.GetWordBE(addr::CurrentChannel);
  if (!ChannelUsable(img, g, *channel)) {
    channel = FirstEnabled(rec.Region(g));
    // The expansion index is taken as it is (1..40), as the radio has always received it.
    if (!channel) {
      if (auto e = FirstEnabled(rec.CHEXP)) channel = *e + 1;
    }
  }
  if (!channel) return;
  img.SetWordBE(addr::CurrentChannel, *channel);
  img.SetWordBE(addr::LastChannel, *channel);
}

void NormaliseWeatherChannel(const SettingsRecord& rec, MemoryImage& img) {
  std::optional<int> w = img.GetByte(addr::CurrentWeather);
  const bool kept = *w >= kWeatherChannels || FlagBit(img, addr::WeatherEnable, *w);
  if (!kept) w = FirstEnabled(rec.CHWX);
  if (!w) return;
  img.SetByte(addr::CurrentWeather, *w);
  img.SetWordBE(addr::CurrentChannel, *w);
}

void NormaliseMemoryChannels(MemoryImage& img) {
  for (int g = 0; g < kRegionCount; ++g) {
    for (int j = 0; j < addr::MemoryChannelCount; ++j) {
      const Address word = addr::MemoryChannels + addr::MemoryChannelStride * g + 2 * j;
      if (!ChannelUsable(img, g, img.GetWordBE(word))) img.SetWordBE(word, 0xFFFF);
    }
  }
}

void ComputeAtisMode(MemoryImage& img) {
  bool callSignsPresent = false;
  for (int k = 0; k < kCallSigns && !callSignsPresent; ++k) {
    const Address mid = addr::CallSigns + addr::CallSignStride * k + addr::CallSignMidOffset;
    for (int i = 0; i < addr::CallSignLength; ++i) callSignsPresent = callSignsPresent || img.GetByte(mid + i) != 0xFF;
  }
  std::uint8_t mode = img.GetByte(addr::AtisMode);
  for (int i = 0; i < kGroupCount; ++i) {
    int value = 0;
    if (img.GetBitAt(addr::AtisKikkerGroup, 7 - i)) value = callSignsPresent ? 2 : 1;
    SetBitField(mode, 7 - 2 * i, 2, value);
  }
  img.SetByte(addr::AtisMode, mode);
}

}  // namespace

void NormaliseImage(const SettingsRecord& rec, MemoryImage& img) {
  switch (img.GetByte(addr::CurrentMode)) {
    case 0:
      NormaliseRegularChannel(rec, img);
      break;
    case 1:
      NormaliseWeatherChannel(rec, img);
      break;
    default:
      break;
  }
  NormaliseMemoryChannels(img);
  ComputeAtisMode(img);
}

}  // namespace qm47
