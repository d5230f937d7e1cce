// The .dat settings file as it is written: sections of key=value lines, CR LF.
#pragma once

#include <optional>
#include <string>

#include "files/io_error.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

// The whole file text of `rec` for `model` (ATIS sections and Scramble keys by its flags).
std::string DatFileText(const SettingsRecord& rec, const ModelDescriptor& model);

// Written beside `path` and renamed over it, so a failure leaves the old file as it was.
std::optional<IoError> WriteDatFile(const std::string& path, const SettingsRecord& rec,
                                    const ModelDescriptor& model);

// Shortest decimal form with at most 15 significant digits, "." as point, no exponent.
std::string DatFrequencyText(double mhz);

}  // namespace qm47
