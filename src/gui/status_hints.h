// The first status-bar panel's hints for the window's own controls.
#pragma once

namespace qm47::hints {

// The tree, the option buttons, and every page change.
inline constexpr const char* kNavigation = "[Up]/[Down]/[Left]/[Right]:Change of a Selection item.";

}  // namespace qm47::hints
