#include <QApplication>
#include <QIcon>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "editor/start_session.h"
#include "editor/startup.h"
#include "files/data_folder.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "gui/screenshots.h"
#include "platform/app_paths.h"
#include "platform/qsettings_preferences.h"

namespace {

constexpr const char* kUsage =
    "usage: qm47 [/D | /E | /DE | /ED] [--data-dir DIR] [--screenshot DIR]\n"
    "  /D             debug mode: Options > Hexdump, Ctrl+F2/Ctrl+F3 image files, monitor line, err.log\n"
    "  /E             19200-baud mode for the fast part of a transfer\n"
    "  /DE, /ED       both\n"
    "  --data-dir DIR the folder with global.ini, destinations, help (default: beside the program)\n"
    "  --screenshot DIR  save pictures of the window and its dialogs as PNG files into DIR, then quit\n"
    "  --version      print the version\n";

bool Has(const std::vector<std::string>& args, const std::string& option) {
  for (const auto& a : args) {
    if (a == option) return true;
  }
  return false;
}

// Removes "NAME VALUE" from `args` into `value`; false when the value is missing.
bool TakeOption(QStringList& args, const char* name, QString& value) {
  const auto at = args.indexOf(name);
  if (at < 0) return true;
  if (at + 1 >= args.size()) return false;
  value = args.at(at + 1);
  args.remove(at, 2);
  return true;
}

QIcon ApplicationIcon(const std::string& dataFolder) {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const std::string path = qm47::JoinPath(dataFolder, "icons/hicolor/" + std::to_string(size) + "x" +
                                                            std::to_string(size) + "/apps/qm47.png");
    icon.addFile(QString::fromStdString(path), QSize(size, size));
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> given(argv + 1, argv + argc);
  if (Has(given, "--version")) {
    std::cout << "qm47 " << QM47_VERSION << "\n";
    return 0;
  }
  if (Has(given, "--help") || Has(given, "-h")) {
    std::cout << kUsage;
    return 0;
  }

  QApplication app(argc, argv);
  // Qt's own options are gone now; what is left is the switch, compared as one text.
  QStringList args = QApplication::arguments().mid(1);
  QString dataDir;
  QString screenshots;
  for (auto [name, value] : {std::pair{"--data-dir", &dataDir}, std::pair{"--screenshot", &screenshots}}) {
    if (!TakeOption(args, name, *value)) {
      std::cerr << "qm47: " << name << " needs a folder\n" << kUsage;
      return 2;
    }
  }

  qm47::StartupRequest request;
  request.dataFolder = dataDir.isEmpty() ? qm47::PlatformDataFolder() : dataDir.toStdString();
  request.searchedFolders =
      dataDir.isEmpty() ? qm47::PlatformDataFolderCandidates() : std::vector<std::string>{dataDir.toStdString()};
  request.stateFolder = qm47::PlatformStateFolder();
  request.backupFolder = qm47::PlatformBackupFolder();
  request.flags = qm47::ParseSwitch(args.join(' ').toStdString());
  QApplication::setWindowIcon(ApplicationIcon(request.dataFolder));

  qm47::QSettingsPreferenceStore prefs;
  qm47::QtUserInterface ui(prefs);
  const auto session = qm47::StartSession(request, prefs, ui);
  if (!session) return 1;

  qm47::MainWindow window(*session);
  ui.SetWindow(&window);
  if (!screenshots.isEmpty()) return qm47::TakeScreenshots(window, *session, screenshots) ? 0 : 1;
  window.Load();
  window.show();
  return QApplication::exec();
}
