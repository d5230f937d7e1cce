// Where global.ini, destination files, help and err.log live.
#pragma once

#include <string>

namespace qm47 {

// QM47_DATA_DIR (when set and not empty) wins; else the executable's folder when it
// holds global.ini; else the installed data folder.
std::string ResolveDataFolder(const std::string& envOverride, const std::string& exeFolder,
                              const std::string& installedFolder);

std::string JoinPath(const std::string& folder, const std::string& name);

// err.log goes into the data folder when it is writable, else into stateFolder.
std::string ErrorLogPath(const std::string& dataFolder, const std::string& stateFolder);

}  // namespace qm47
