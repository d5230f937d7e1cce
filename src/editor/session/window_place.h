// Where the main window stood when it last closed, as the preferences keep it.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "files/preferences.h"

namespace qm47 {

inline constexpr double kDefaultTreeShare = 0.3;

struct WindowPlace {
  std::string geometry;  // the window system's own record of the frame, base64; "" when none
  double treeShare = kDefaultTreeShare;  // the tree's share of the width
  // Older versions kept the frame in twips (left, top, width, height) and never read it
  // back; taken once when there is no geometry, then replaced.
  std::optional<std::array<int, 4>> twips;
};

// A share out of its sensible range, or unreadable, gives the default.
WindowPlace StoredWindowPlace(const PreferenceStore& prefs);
void StoreWindowPlace(PreferenceStore& prefs, const std::string& geometry, double treeShare);

}  // namespace qm47
