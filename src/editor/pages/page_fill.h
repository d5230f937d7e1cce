// Filling a page's controls from the record, as the window does whenever a node is shown.
#pragma once

#include <functional>
#include <string>

#include "editor/session/session.h"

namespace qm47 {

// Runs `fill` with the undo steps that follow named after `place`, and the dirty flag as
// it was afterwards: filling the controls is no edit. A window that is not shown (minimised) fills nothing.
void FillPage(Session& s, bool shown, const std::string& place, const std::function<void()>& fill);

}  // namespace qm47
