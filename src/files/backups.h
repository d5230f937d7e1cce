// A read must not be lost to a file that cannot be written: the look at a save target
// before a long transfer, and the per-user folder that keeps what could not be saved.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/io_error.h"

namespace qm47 {

// $XDG_DATA_HOME/QM47/backups, else $HOME/.local/share/QM47/backups; "" when neither
// names an absolute folder. The caller passes the two variables (nullptr when unset).
std::string BackupFolder(const char* xdgDataHome, const char* home);

struct SavedBackup {
  std::string path;
  std::optional<IoError> error;
};

// The label of one radio's backups: the model's menu name ("model7" for a model without
// one), then "-" and the radio's MMSI when it holds one ("TK4100A-366123456").
std::string BackupLabel(int model, const std::string& mmsi);

// Writes `bytes` atomically into `folder` (created as needed) as
// "LABEL-YYYYMMDD-HHMMSS" + extension in local time, adding "-2", "-3", ... rather than
// replace an earlier backup. Characters of LABEL unfit for a file name become "_".
SavedBackup SaveBackup(const std::string& folder, const std::string& label, const std::string& extension,
                       const std::vector<std::uint8_t>& bytes, std::chrono::system_clock::time_point when);

struct PrunedBackups {
  int removed = 0;
  std::optional<IoError> error;  // the first file or folder that could not be handled
};

// Removes the oldest ".hex" backups of `folder` beyond `keep`, but never the newest of a
// label (one radio): that one stays even when it makes more than `keep`. Only what a read
// wrote counts: a file of ours named LABEL-YYYYMMDD-HHMMSS[-N].hex with a real date and
// time, still writable, 16384 bytes long and holding the code of the model its label
// names. Anything else is left alone and not counted.
PrunedBackups PruneBackups(const std::string& folder, int keep);

}  // namespace qm47
