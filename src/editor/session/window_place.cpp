#include "editor/session/window_place.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace qm47 {

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kGeometryKey = "MainGeometry";
constexpr const char* kTreeShareKey = "MainTreeShare";
constexpr int kMostTwips = 1'000'000;
constexpr std::array<const char*, 4> kTwipsKeys = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

// The whole text as one number, or nothing.
template <class Number>
std::optional<Number> Whole(const std::string& text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end) return std::nullopt;
  return value;
}

}  // namespace

WindowPlace StoredWindowPlace(const PreferenceStore& prefs) {
  WindowPlace place;
  place.geometry = prefs.Get(kSection, kGeometryKey, "");
  const auto share = Whole<double>(prefs.Get(kSection, kTreeShareKey, ""));
  if (share && *share >= kDefaultTreeShare / 2 && *share <= 1 - kDefaultTreeShare) place.treeShare = *share;

  std::array<int, 4> twips{};
  for (std::size_t i = 0; i < twips.size(); ++i) {
    const auto value = Whole<int>(prefs.Get(kSection, kTwipsKeys[i], ""));
    // Beyond any screen (and beyond what converts to pixels without overflow): not a frame.
    if (!value || *value < -kMostTwips || *value > kMostTwips) return place;
    twips[i] = *value;
  }
  if (twips[2] > 0 && twips[3] > 0) place.twips = twips;
  return place;
}

void StoreWindowPlace(PreferenceStore& prefs, const std::string& geometry, double treeShare) {
  prefs.Save(kSection, kGeometryKey, geometry);
  char share[16];
  std::snprintf(share, sizeof share, "%.3f", treeShare);
  prefs.Save(kSection, kTreeShareKey, share);
  for (const char* key : kTwipsKeys) {
    if (!prefs.Get(kSection, key, "").empty()) prefs.Save(kSection, key, "");
  }
}

}  // namespace qm47
