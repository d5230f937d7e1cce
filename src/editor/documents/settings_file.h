// Opening and saving the settings text file (.dat) as the editor does it.
//
// Beside it in documents/: the image file (.hex), the new image with its destination
// channel plans, the check of every value a file brings in, and the report.
#pragma once

#include "editor/documents/record_check.h"

#include <string>

#include "editor/session/session.h"

namespace qm47 {

inline constexpr const char* kDifferentModelMessage = "different model!!";

// Reads `path` into the settings record after the model check (a merge: what the
// file lacks keeps its value). Clears the error flag on entry, sets it on failure.
// Values the pages refuse or the radio cannot hold are mended (see CheckRecord) and listed
// in `report`.
bool FileRead2(Session& s, const std::string& path, OpenReport* report = nullptr);

// Writes the record to `path` atomically. Clears the error flag on entry, sets it
// on failure; a failed save leaves the previous file exactly as it was.
bool SaveFileAs(Session& s, const std::string& path);

// The Open and Save commands once a path is known: FileRead2 / SaveFileAs, then on
// success `path` becomes the current file name and the cancel flag is cleared.
// Neither changes the dirty flag, unless the file had to be mended on its way in
// (`report` says how): then the record no longer is the file's, and the flag is raised.
bool OpenSettingsFile(Session& s, const std::string& path, OpenReport* report = nullptr);
bool SaveSettingsFile(Session& s, const std::string& path);

}  // namespace qm47
