#include <QApplication>
#include <QCommandLineParser>
#include <iostream>
#include <string>
#include <vector>

#include "editor/session/start_session.h"
#include "editor/session/startup.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "gui/screenshots.h"
#include "gui/start_warmup.h"
#include "platform/app_paths.h"
#include "platform/qsettings_preferences.h"

namespace {

struct Options {
  QCommandLineOption dataDir{"data-dir",
                             "The folder with global.ini, the destinations and help (default: beside the program).",
                             "DIR"};
  QCommandLineOption screenshot{"screenshot",
                                "Save pictures of the window and its dialogs as PNG files into DIR, then quit.", "DIR"};
  QCommandLineOption version{"version", "Print the version."};
  QCommandLineOption help{QStringList{"h", "help"}, "Print this text."};
};

void Describe(QCommandLineParser& parser, const Options& options) {
  parser.setApplicationDescription("QM47, the programming tool for QM47 family marine VHF radios.");
  parser.addPositionalArgument("switch",
                               "/D   debug mode: Options > Hexdump, Ctrl+F2/Ctrl+F3 image files, monitor line, "
                               "err.log\n/E   19200 baud for the fast part of a transfer\n/DE, /ED  both",
                               "[/D | /E | /DE | /ED]");
  for (const auto* option : {&options.dataDir, &options.screenshot, &options.version, &options.help}) {
    parser.addOption(*option);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  {
    // --help and --version answer without a display, before Qt looks for one.
    QCommandLineParser early;
    Describe(early, options);
    QStringList given;
    for (int i = 0; i < argc; ++i) given << QString::fromLocal8Bit(argv[i]);
    early.parse(given);
    if (early.isSet(options.version)) {
      std::cout << "qm47 " << QM47_VERSION << "\n";
      return 0;
    }
    // Without an application the text does not know the program's name yet.
    const std::string help = early.helpText().replace("<executable_name>", "qm47").toStdString();
    if (early.isSet(options.help)) {
      std::cout << help;
      return 0;
    }
    for (const auto* option : {&options.dataDir, &options.screenshot}) {
      if (early.isSet(*option) && early.value(*option).isEmpty()) {
        std::cerr << "qm47: --" << option->names().constFirst().toStdString() << " needs a folder\n" << help;
        return 2;
      }
    }
  }

  QApplication app(argc, argv);
  const qm47::StartWarmup warmup;
  qm47::NameTheApplication();
  QGuiApplication::setDesktopFileName("org.qm47.qm47");
  // Qt's own options are gone now.
  QCommandLineParser parser;
  Describe(parser, options);
  parser.parse(QApplication::arguments());
  // The switch is the whole rest of the line: anything besides it, an unknown option too,
  // makes the line no switch at all, as with "/D /E".
  QStringList line = parser.positionalArguments();
  for (const QString& unknown : parser.unknownOptionNames()) {
    const QString given = (unknown.size() == 1 ? "-" : "--") + unknown;
    std::cerr << "qm47: unknown option " << given.toStdString() << " ignored\n";
    line << given;
  }
  const QString dataDir = parser.value(options.dataDir);
  const QString screenshots = parser.value(options.screenshot);

  qm47::StartupRequest request;
  request.dataFolder = dataDir.isEmpty() ? qm47::PlatformDataFolder() : dataDir.toStdString();
  request.searchedFolders =
      dataDir.isEmpty() ? qm47::PlatformDataFolderCandidates() : std::vector<std::string>{dataDir.toStdString()};
  request.stateFolder = qm47::PlatformStateFolder();
  request.backupFolder = qm47::PlatformBackupFolder();
  request.flags = qm47::ParseSwitch(line.join(' ').toStdString());
  QApplication::setWindowIcon(qm47::ProgramIcon());

  qm47::QSettingsPreferenceStore prefs;
  qm47::QtUserInterface ui(prefs);
  const auto session = qm47::StartSession(request, prefs, ui);
  if (!session) return 1;

  qm47::MainWindow window(*session);
  ui.SetWindow(&window);
  if (!screenshots.isEmpty()) return qm47::TakeScreenshots(window, *session, screenshots) ? 0 : 1;
  window.ShowThenLoad();
  return QApplication::exec();
}
