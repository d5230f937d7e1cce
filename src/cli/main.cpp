#include <QCoreApplication>
#include <functional>
#include <iostream>
#include <map>

#include "cli/cli.h"
#include "editor/startup.h"
#include "files/data_folder.h"
#include "platform/app_paths.h"
#include "platform/qsettings_preferences.h"

namespace {

using namespace qm47;
using namespace qm47::cli;

constexpr const char* kHelp = R"(Usage: qm47-cli [OPTIONS] COMMAND ...

Reads, edits and writes the settings of QM47 marine VHF radios without a window.

Options (before the command):
  --data-dir DIR   folder holding global.ini and the destination files
                   (default: QM47_DATA_DIR, else beside the program, else the installed folder)
  --model N        radio model number 1..10 as listed in global.ini
                   (default: the model the editor would select at start-up)
  --debug          debug mode: trapped file and port faults are appended to err.log
  --baud19200      talk to the radio at 19200 baud instead of 57600
  --yes            answer questions with OK / Retry / Yes (otherwise Cancel / No)
  --help           this text

Commands:
  new [--destination NAME] OUT     settings of a fresh image of the model, saved to OUT
  convert IN OUT                   open IN, save OUT
  report IN [OUT]                  the text report of IN, on stdout or saved to OUT (.txt)
  dump IN                          the hex dump text of IN's image, on stdout
  read --port DEV OUT              read the radio's settings into OUT
  program --port DEV IN            program the settings of IN into the radio
  clear mmsi|dsc-log|distress-log --port DEV
                                   clear the radio's MMSI count, DSC log or distress log
  ports                            list the serial ports (name, description, USB ids)

Files: .hex is the raw 16384-byte radio image, .dat the settings text file, .txt a report;
the extension decides (any case). DEV is a port name (ttyUSB0, COM3), a full device path,
or a port number 1..4 mapped through the preferences.
Messages the editor would show in a box are printed on stderr, one per line.
Exit status: 0 success, 1 the operation failed or was refused, 2 usage error.
)";

using Command = std::function<int(Context&, const std::vector<std::string>&)>;

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"new", RunNew},
      {"convert", RunConvert},
      {"dump", RunDump},
      {"report", RunReport},
      {"read", RunRead},
      {"program", RunProgram},
      {"clear", RunClear},
      {"ports", RunPorts},
  };
  return commands;
}

// Global options; returns the index of the command word, or -1 after a usage error.
int ParseGlobalOptions(const std::vector<std::string>& argv, GlobalOptions& opt, int& exitCode) {
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      exitCode = kSuccess;
      return -1;
    }
    if (a == "--debug") {
      opt.debug = true;
    } else if (a == "--baud19200") {
      opt.baud19200 = true;
    } else if (a == "--yes") {
      opt.yes = true;
    } else if (a == "--data-dir" || a == "--model") {
      if (i + 1 >= argv.size()) {
        exitCode = UsageError(a, "needs a value");
        return -1;
      }
      const std::string& v = argv[++i];
      if (a == "--data-dir") {
        opt.dataDir = v;
      } else {
        const int n = PreferenceInt(v, 0);
        if (n < 1 || n > kMaxModels || v.find_first_not_of("0123456789") != std::string::npos) {
          exitCode = UsageError("--model", "'" + v + "' is not a model number 1..10");
          return -1;
        }
        opt.model = n;
      }
    } else if (a.rfind("--", 0) == 0) {
      exitCode = UsageError(a, "unknown option");
      return -1;
    } else {
      return static_cast<int>(i);
    }
  }
  exitCode = UsageError("", "no command given");
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);

  GlobalOptions opt;
  int exitCode = kSuccess;
  const int at = ParseGlobalOptions(args, opt, exitCode);
  if (at < 0) return exitCode;
  const auto command = Commands().find(args[static_cast<std::size_t>(at)]);
  if (command == Commands().end()) return UsageError(args[static_cast<std::size_t>(at)], "unknown command");
  const std::vector<std::string> rest(args.begin() + at + 1, args.end());

  const std::string dataFolder = opt.dataDir.empty() ? PlatformDataFolder() : opt.dataDir;
  IniFile catalogue = IniFile::Load(JoinPath(dataFolder, "global.ini"));
  QSettingsPreferenceStore prefs;
  CliUserInterface ui(opt.yes);
  ui.SetVerbose(opt.debug);

  const std::vector<int> inUse = ModelsInUse(catalogue);
  int model = StartupModel(catalogue, prefs);
  if (opt.model) model = std::find(inUse.begin(), inUse.end(), *opt.model) != inUse.end() ? *opt.model : 0;
  if (model == 0) {
    ui.Message(kUnknownModelMessage, kApplicationTitle, Icon::Critical, Buttons::Ok);
    return kFailed;
  }

  StartupFlags flags{opt.debug, opt.baud19200};
  ErrorLog log(opt.debug ? ErrorLogPath(dataFolder, PlatformStateFolder()) : std::string{}, opt.debug);
  Session session(dataFolder, std::move(catalogue), prefs, ui, flags, std::move(log));
  SetModel(session, model);

  Context ctx{opt, session, ui};
  return command->second(ctx, rest);
}
