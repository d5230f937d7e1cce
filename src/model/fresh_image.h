// A fresh image and record of a model: the defaults every new file starts from.
#pragma once

#include "model/memory_image.h"
#include "model/settings_record.h"

namespace qm47 {

// 0xFF everywhere, then the default bytes, tables and the model's own bytes.
void MakeFreshImage(MemoryImage& img, int modelNumber);

// The data steps of the new-image set-up: channel plans, weather table, empty
// directories, the fresh image decoded into the record, encoded back and the common
// part decoded again, so the record is what the new image reads as.
void NewImageData(SettingsRecord& rec, MemoryImage& img, int modelNumber);

}  // namespace qm47
