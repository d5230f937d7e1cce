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

// The record as the image stores it: on model 1 a group without an enabled channel is
// not usable, and call signs stand right-justified in their three places. The editor
// runs it as a step of its own before a record is encoded for a save or the radio.
SettingsRecord StoredForm(const SettingsRecord& rec, int modelNumber);
void PutInStoredForm(SettingsRecord& rec, int modelNumber);
// Writes every image-backed field of the record's stored form.
void EncodeImage(const SettingsRecord& rec, MemoryImage& img, int modelNumber);
// Points the radio's current channel and memory channels at usable channels
// and computes the ATIS mode byte.
void NormaliseImage(const SettingsRecord& rec, MemoryImage& img);
void SetChecksum(MemoryImage& img);

// The three steps every image runs before it leaves the program.
void PrepareImageForExport(const SettingsRecord& rec, MemoryImage& img, int modelNumber);

}  // namespace qm47
