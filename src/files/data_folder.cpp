#include "files/data_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace qm47 {

namespace fs = std::filesystem;

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (fs::path(folder) / name).string();
}

std::vector<std::string> DataFolderCandidates(const std::string& envOverride, const std::string& exeFolder,
                                              const std::string& installedFolder) {
  if (!envOverride.empty()) return {envOverride};
  std::vector<std::string> folders;
  if (!exeFolder.empty()) {
    folders.push_back(exeFolder);
    // An installed tree moved to another prefix (~/.local, /opt/...) keeps this shape.
    folders.push_back((fs::path(exeFolder).parent_path() / "share" / "qm47").string());
  }
  if (std::find(folders.begin(), folders.end(), installedFolder) == folders.end()) folders.push_back(installedFolder);
  return folders;
}

std::string ResolveDataFolder(const std::string& envOverride, const std::string& exeFolder,
                              const std::string& installedFolder) {
  const auto folders = DataFolderCandidates(envOverride, exeFolder, installedFolder);
  std::error_code ec;
  for (const auto& folder : folders) {
    if (fs::exists(JoinPath(folder, "global.ini"), ec)) return folder;
  }
  return folders.back();
}

std::string ErrorLogPath(const std::string& dataFolder, const std::string& stateFolder) {
  // Probe by creating a file: permission bits alone do not tell (root, ACLs, read-only mounts).
  // A fresh unique name, so no file of the user's is touched and nothing can block.
  std::string probe = JoinPath(dataFolder, ".qm47-write-probe-XXXXXX");
  const int fd = ::mkstemp(probe.data());
  const bool writable = fd >= 0;
  if (writable) {
    ::close(fd);
    ::unlink(probe.c_str());
  }
  std::error_code ec;
  if (writable || stateFolder.empty()) return JoinPath(dataFolder, "err.log");
  fs::create_directories(stateFolder, ec);
  return JoinPath(stateFolder, "err.log");
}

}  // namespace qm47
