#include "platform/app_paths.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>

#include "files/backups.h"
#include "files/data_folder.h"

namespace qm47 {

std::string PlatformDataFolder() {
  return ResolveDataFolder(qgetenv("QM47_DATA_DIR").toStdString(), QCoreApplication::applicationDirPath().toStdString(),
                           QM47_INSTALLED_DATA_DIR);
}

std::vector<std::string> PlatformDataFolderCandidates() {
  return DataFolderCandidates(qgetenv("QM47_DATA_DIR").toStdString(),
                              QCoreApplication::applicationDirPath().toStdString(), QM47_INSTALLED_DATA_DIR);
}

std::string PlatformStateFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString();
}

std::string PlatformBackupFolder() { return BackupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

}  // namespace qm47
