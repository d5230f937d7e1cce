#pragma once

#include <QIcon>
#include <QString>

namespace qm47 {

// Adds the program's own PNG at `path` (and its @2x picture on a screen of two pixels to a
// point, as QIcon::addFile does) through Qt's built-in reader. QIcon's own reading first
// asks every picture plugin whether it reads the file, loading them all on the start's path.
void AddPng(QIcon& icon, const QString& path);
QIcon PngIcon(const QString& path);

}  // namespace qm47
