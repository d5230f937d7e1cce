// Pictures of the window for review and the README: each node kind, the menus and the
// dialogs, rendered without a screen and saved as PNG files.
#pragma once

#include <QString>

#include "editor/session/session.h"
#include "gui/main_window.h"

namespace qm47 {

// Loads and shows `window`, then saves the pictures into `folder`. False when one could not be written.
bool TakeScreenshots(MainWindow& window, Session& s, const QString& folder);

}  // namespace qm47
