#include "gui/start_warmup.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

namespace qm47 {

// Pictures first: the program's icon is read before the first text is measured.
StartWarmup::StartWarmup()
    : thread_([] {
        QImageReader::supportedImageFormats();
        QFontDatabase::families();
      }) {}

StartWarmup::~StartWarmup() { thread_.join(); }

}  // namespace qm47
