// Between the memory image and the settings record.
#pragma once

#include "model/memory_image.h"
#include "model/settings_record.h"

namespace qm47 {

// Everything, after an image came in from outside (radio, .hex, destination).
void DecodeImage(const MemoryImage& img, SettingsRecord& rec);
// Group, common, DSC and ATIS settings only (not tables, not directories).
void DecodeCommonPart(const MemoryImage& img, SettingsRecord& rec);
void DecodeExpChannels(const MemoryImage& img, SettingsRecord& rec);

// Writes every image-backed field. On model 1 it also clears Usable of groups
// without an enabled channel, and it right-justifies the call signs in `rec`.
void EncodeImage(SettingsRecord& rec, MemoryImage& img, int modelNumber);
// Points the radio's current channel and memory channels at usable channels
// and computes the ATIS mode byte.
void NormaliseImage(const SettingsRecord& rec, MemoryImage& img);
void SetChecksum(MemoryImage& img);

// The three steps every image runs before it leaves the program.
void PrepareImageForExport(SettingsRecord& rec, MemoryImage& img, int modelNumber);

}  // namespace qm47
