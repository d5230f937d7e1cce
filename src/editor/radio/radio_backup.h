// Every read from the radio is kept in the per-user backups folder, named by the radio,
// so the settings a radio held can always be had again.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "editor/session/session.h"

namespace qm47 {

// The radio a backup belongs to: the model, and the radio's own MMSI when it holds one
// ("TK4100A-366123456"), so two radios of one model keep a newest backup each.
std::string BackupLabel(const ModelDescriptor& model, std::span<const std::uint8_t> radio);

struct RadioBackup {
  std::string path;     // the file written
  std::string problem;  // "" when it was kept; else what went wrong, where and what to do
};

// Writes `radio` into the session's backups folder, then removes the oldest backups beyond
// the count the preferences keep (never the newest of a radio).
RadioBackup BackUpRadio(const Session& s, std::span<const std::uint8_t> radio,
                        std::chrono::system_clock::time_point when);

}  // namespace qm47
