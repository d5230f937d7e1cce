#include <QCoreApplication>
#include <csignal>
#include <functional>
#include <iostream>
#include <map>

#include "cli/cli.h"
#include "cli/usage.h"
#include "editor/session/start_session.h"
#include "platform/app_paths.h"
#include "platform/qsettings_preferences.h"

namespace {

using namespace qm47;
using namespace qm47::cli;

using Command = std::function<int(Context&, const std::vector<std::string>&)>;

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"new", RunNew},   {"convert", RunConvert}, {"dump", RunDump},   {"report", RunReport},
      {"read", RunRead}, {"program", RunProgram}, {"clear", RunClear}, {"ports", RunPorts},
      {"diff", RunDiff}, {"models", RunModels},
      {"export-csv", RunExportCsv}, {"import-csv", RunImportCsv},
      {"verify", RunVerify},
  };
  return commands;
}

struct CommandLine {
  GlobalOptions options;
  std::string command;
  std::vector<std::string> rest;  // the command's own words, "--" kept for it
  bool help = false;
  bool version = false;
};

// Global options may stand before or after the command, up to "--". QCommandLineParser
// cannot say this: it would refuse the commands' own options (--destination, --port) or,
// given them all, accept each for every command, drop "--" and the order of the command's
// words, and take "--model=2" and "-hv", which this program refuses.
bool ParseCommandLine(const std::vector<std::string>& argv, CommandLine& line, int& exitCode) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    auto& opt = line.options;
    if (optionsEnded) {
      line.rest.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
      if (!line.command.empty()) line.rest.push_back(a);
    } else if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (a == "--version") {
      line.version = true;
    } else if (a == "--debug") {
      opt.debug = true;
    } else if (a == "--baud19200") {
      opt.baud19200 = true;
    } else if (a == "--yes") {
      opt.yes = true;
    } else if (a == "--data-dir" || a == "--model") {
      if (i + 1 >= argv.size()) {
        exitCode = UsageError(a, "needs a value");
        return false;
      }
      const std::string& v = argv[++i];
      if (a == "--data-dir") {
        opt.dataDir = v;
      } else {
        opt.model = ModelNamed(v);
        if (!opt.model) {
          exitCode = UsageError("--model", "'" + v + "' is not a model number 1..10 or a model's name "
                                                     "(qm47-cli models lists them)");
          return false;
        }
      }
    } else if (line.command.empty() && a.rfind("--", 0) == 0) {
      exitCode = UsageError(a, "unknown option");
      return false;
    } else if (line.command.empty()) {
      line.command = a;
    } else {
      line.rest.push_back(a);  // the command's own options and files
    }
  }
  return true;
}

int ShowHelp(const std::string& command) {
  if (command.empty()) {
    std::cout << GeneralHelp();
  } else if (const auto help = FindCommandHelp(command)) {
    std::cout << CommandHelpText(*help);
  } else {
    return UsageError("help", "there is no command '" + command + "'");
  }
  return kSuccess;
}

int UnknownCommand(const std::string& word) {
  const auto suggestion = SuggestCommand(word);
  return UsageError(word, suggestion ? "unknown command; did you mean '" + *suggestion + "'?" : "unknown command");
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe or a full disk must come back as a failed write the program reports.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  QCoreApplication app(argc, argv);
  NameTheApplication();
  const std::vector<std::string> args(argv + 1, argv + argc);

  CommandLine line;
  int exitCode = kSuccess;
  if (!ParseCommandLine(args, line, exitCode)) return exitCode;
  if (line.version) {
    std::cout << VersionText("qm47-cli");
    return kSuccess;
  }
  if (line.command == "help") {
    if (line.rest.size() > 1) return UsageError("help", "takes at most one command");
    return ShowHelp(line.rest.empty() ? "" : line.rest[0]);
  }
  if (line.help) return ShowHelp(line.command);
  if (line.command.empty()) return UsageError("", "no command given");
  const auto command = Commands().find(line.command);
  if (command == Commands().end()) return UnknownCommand(line.command);

  const GlobalOptions& opt = line.options;
  StartupRequest request;
  request.dataFolder = opt.dataDir.empty() ? PlatformDataFolder() : opt.dataDir;
  request.searchedFolders = opt.dataDir.empty() ? PlatformDataFolderCandidates() : std::vector<std::string>{opt.dataDir};
  request.stateFolder = PlatformStateFolder();
  request.backupFolder = PlatformBackupFolder();
  request.flags = StartupFlags{opt.debug, opt.baud19200};
  request.model = opt.model;
  QSettingsPreferenceStore prefs;
  CliUserInterface ui(opt.yes);
  ui.SetVerbose(opt.debug);
  const std::unique_ptr<Session> session = StartSession(request, prefs, ui);
  if (!session) return kFailed;

  Context ctx{opt, *session, ui};
  return command->second(ctx, line.rest);
}
