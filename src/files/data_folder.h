// Where global.ini, destination files, help and err.log live.
#pragma once

#include <string>
#include <vector>

namespace qm47 {

// The folders looked at in order: QM47_DATA_DIR alone when set and not empty; else the
// executable's folder, ../share/qm47 beside it, and the folder fixed at build time.
std::vector<std::string> DataFolderCandidates(const std::string& envOverride, const std::string& exeFolder,
                                              const std::string& installedFolder);
// The first candidate that holds global.ini, else the last one.
std::string ResolveDataFolder(const std::string& envOverride, const std::string& exeFolder,
                              const std::string& installedFolder);

std::string JoinPath(const std::string& folder, const std::string& name);

// err.log goes into the data folder when it is writable, else into stateFolder.
std::string ErrorLogPath(const std::string& dataFolder, const std::string& stateFolder);

}  // namespace qm47
