#include <QCoreApplication>
#include <csignal>
#include <iostream>
#include <map>

#include "cli/cli.h"
#include "cli/command_line.h"
#include "cli/usage.h"
#include "editor/session/start_session.h"
#include "platform/app_paths.h"
#include "platform/qsettings_preferences.h"

namespace {

using namespace qm47;
using namespace qm47::cli;

QCommandLineOption Valued(const QString& name, const QString& value, const QString& byDefault = {}) {
  return QCommandLineOption(name, {}, value, byDefault);
}

// Before the command or after it, up to "--".
QList<QCommandLineOption> GlobalOptionList() {
  return {Valued("data-dir", "DIR"), Valued("model", "M"), QCommandLineOption("debug"),
          QCommandLineOption("baud19200"), QCommandLineOption("yes"), QCommandLineOption(QStringList{"h", "help"}),
          QCommandLineOption("version")};
}

struct Command {
  int (*run)(Context&, const CommandArgs&);
  QList<QCommandLineOption> options;  // its own: another command's are refused
};

const std::map<std::string, Command>& Commands() {
  static const QCommandLineOption port = Valued("port", "DEV"), list = Valued("list", "NAME");
  static const QCommandLineOption acceptChanges("accept-changes");
  static const std::map<std::string, Command> commands = {
      {"new", {RunNew, {Valued("destination", "NAME")}}},
      {"convert", {RunConvert, {acceptChanges}}},
      {"report", {RunReport, {}}},
      {"dump", {RunDump, {}}},
      {"diff", {RunDiff, {}}},
      {"export-csv", {RunExportCsv, {list}}},
      {"import-csv", {RunImportCsv, {list}}},
      {"read", {RunRead, {port}}},
      // "--verify" alone reads back every settings block, as programming does unless told otherwise.
      {"program",
       {RunProgram,
        {port, Valued("verify", "whole|written", "whole"), QCommandLineOption("no-verify"),
         QCommandLineOption("no-backup"), QCommandLineOption("changed-only"), acceptChanges}}},
      {"verify", {RunVerify, {port}}},
      {"clear", {RunClear, {port}}},
      {"ports", {RunPorts, {}}},
      {"models", {RunModels, {}}},
      {"help", {nullptr, {}}},  // answered before a session starts
  };
  return commands;
}

// The global options given before the command and after it; false after a usage error.
bool TakeGlobalOptions(const QCommandLineParser& before, const QCommandLineParser& after, const TypedWords& typed,
                       GlobalOptions& opt, int& exitCode) {
  for (const QCommandLineParser* given : {&before, &after}) {
    if (given->isSet("data-dir")) opt.dataDir = typed(given->value("data-dir"));
    for (const QString& name : given->values("model")) {
      opt.model = ModelNamed(name.toStdString());
      if (!opt.model) {
        exitCode = UsageError("--model", "'" + name.toStdString() + "' is not a model number 1..10 or a model's name "
                                                                    "(qm47-cli models lists them)");
        return false;
      }
    }
    opt.debug = opt.debug || given->isSet("debug");
    opt.baud19200 = opt.baud19200 || given->isSet("baud19200");
    opt.yes = opt.yes || given->isSet("yes");
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

int ShowVersion() {
  std::cout << VersionText("qm47-cli");
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
  const QList<QCommandLineOption> globals = GlobalOptionList();

  // The global options up to the command; the command's words are for its own parser.
  const QStringList words = CommandLineWords(argc, argv);
  QCommandLineParser line;
  line.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  if (const std::string problem = ReadCommandLine(line, globals, words); !problem.empty()) {
    return UsageError("", problem);
  }
  QStringList rest = line.positionalArguments();
  const std::string name = rest.isEmpty() ? "" : rest.takeFirst().toStdString();
  // A "--" before the command ends the command's options too.
  if (!name.empty() && words[words.size() - rest.size() - 2] == "--") rest.prepend("--");
  if (line.isSet("version")) return ShowVersion();
  if (line.isSet("help")) return ShowHelp(name);
  if (name.empty()) return UsageError("", "no command given");
  const auto command = Commands().find(name);
  if (command == Commands().end()) return UnknownCommand(name);

  QCommandLineParser parser;
  const std::string problem =
      ReadCommandLine(parser, command->second.options + globals, QStringList{words.first()} + rest);
  if (parser.isSet("version")) return ShowVersion();
  if (parser.isSet("help") && name != "help") return ShowHelp(name);
  if (!problem.empty()) return UsageError(name, problem);
  const TypedWords typed(argc, argv);
  CommandArgs args{parser, typed, {}};
  for (const QString& word : parser.positionalArguments()) args.positional.push_back(typed(word));
  if (name == "help") {
    if (args.positional.size() > 1) return UsageError("help", "takes at most one command");
    return ShowHelp(args.positional.empty() ? "" : args.positional[0]);
  }

  GlobalOptions opt;
  int exitCode = kSuccess;
  if (!TakeGlobalOptions(line, parser, typed, opt, exitCode)) return exitCode;
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
  return command->second.run(ctx, args);
}
