#include "platform/app_paths.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

#include "editor/session/startup.h"
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

void NameTheApplication() {
  QCoreApplication::setOrganizationName(kApplicationTitle);
  QCoreApplication::setApplicationName(kApplicationTitle);
}

std::string PlatformStateFolder() {
  // Qt 6.4 has no state location yet; the XDG rule, as for the backups (relative values do not count).
  const QString xdg = qEnvironmentVariable("XDG_STATE_HOME");
  const QString base = QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + "/.local/state";
  return QDir(base).filePath(kApplicationTitle).toStdString();
}

std::string PlatformBackupFolder() { return BackupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

}  // namespace qm47
