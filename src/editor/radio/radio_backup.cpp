#include "editor/radio/radio_backup.h"

#include <algorithm>

#include "files/backups.h"

namespace qm47 {

namespace {

constexpr int kMmsiDigits = 9;

// The MMSI's nine digits, "" for a blank or all-zero number.
std::string RadioMmsi(std::span<const std::uint8_t> radio) {
  if (radio.size() != static_cast<std::size_t>(kImageSize)) return "";
  MemoryImage image;
  std::copy(radio.begin(), radio.end(), image.bytes().begin());
  const std::string digits = image.GetDigits(addr::UserMmsi).substr(0, kMmsiDigits);
  if (digits.size() < kMmsiDigits || digits.find_first_not_of('0') == std::string::npos) return "";
  return digits;
}

}  // namespace

std::string BackupLabel(const ModelDescriptor& model, std::span<const std::uint8_t> radio) {
  return BackupLabel(model.number, RadioMmsi(radio));
}

RadioBackup BackUpRadio(const Session& s, std::span<const std::uint8_t> radio,
                        std::chrono::system_clock::time_point when) {
  RadioBackup result;
  if (s.backupFolder.empty()) {
    result.problem = "Neither XDG_DATA_HOME nor HOME names a folder to keep backups in; set HOME.";
    return result;
  }
  const SavedBackup saved =
      SaveBackup(s.backupFolder, BackupLabel(s.model, radio), ".hex", {radio.begin(), radio.end()}, when);
  if (saved.error) {
    result.problem = "The backups folder " + s.backupFolder + " could not take it: " + saved.error->description +
                     ". Free some space or make the folder writable.";
    return result;
  }
  result.path = saved.path;
  // A backup that could not be pruned is still a backup; old ones stay until the next read.
  PruneBackups(s.backupFolder, BackupsToKeep(s.prefs));
  return result;
}

}  // namespace qm47
