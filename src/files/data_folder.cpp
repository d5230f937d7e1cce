#include "files/data_folder.h"

#include <filesystem>
#include <fstream>

namespace qm47 {

namespace fs = std::filesystem;

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (fs::path(folder) / name).string();
}

std::string ResolveDataFolder(const std::string& envOverride, const std::string& exeFolder,
                              const std::string& installedFolder) {
  if (!envOverride.empty()) return envOverride;
  std::error_code ec;
  if (!exeFolder.empty() && fs::exists(JoinPath(exeFolder, "global.ini"), ec)) return exeFolder;
  return installedFolder;
}

std::string ErrorLogPath(const std::string& dataFolder, const std::string& stateFolder) {
  // Probe by creating a file: permission bits alone do not tell (root, ACLs, read-only mounts).
  const std::string probe = JoinPath(dataFolder, ".qm47-write-probe");
  bool writable = false;
  {
    std::ofstream f(probe, std::ios::app);
    writable = static_cast<bool>(f);
  }
  std::error_code ec;
  fs::remove(probe, ec);
  if (writable || stateFolder.empty()) return JoinPath(dataFolder, "err.log");
  fs::create_directories(stateFolder, ec);
  return JoinPath(stateFolder, "err.log");
}

}  // namespace qm47
