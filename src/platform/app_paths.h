// Where this installation keeps its files, as the platform tells it.
#pragma once

#include <string>
#include <vector>

namespace qm47 {

// Organisation and application "QM47", set once by each program right after its
// QCoreApplication: preferences (~/.config/QM47/QM47.conf), the state folder and the
// window system's class go by it, not by the executable's name.
void NameTheApplication();

// QM47_DATA_DIR, else the executable's folder when it holds global.ini, else the installed folder.
// Needs a QCoreApplication.
std::string PlatformDataFolder();
// The folders PlatformDataFolder looks in, in order.
std::vector<std::string> PlatformDataFolderCandidates();
// Per-user state folder for err.log when the data folder is read-only:
// $XDG_STATE_HOME/QM47, else ~/.local/state/QM47.
std::string PlatformStateFolder();
// Per-user folder of the radio backups (XDG data folder, QM47/backups); "" when there is none.
std::string PlatformBackupFolder();

}  // namespace qm47
