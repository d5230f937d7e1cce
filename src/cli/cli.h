// qm47-cli: the editor's file and radio commands without a window.
#pragma once

#include <QCommandLineParser>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "editor/session/session.h"
#include "seams/user_interface.h"

namespace qm47::cli {

enum ExitCode : int { kSuccess = 0, kFailed = 1, kUsage = 2 };

struct GlobalOptions {
  std::string dataDir;
  std::optional<int> model;
  bool debug = false;
  bool baud19200 = false;
  bool yes = false;
};

// Every message box becomes its exact text on stderr; --yes answers questions. On a
// terminal a progress line moves in place; whatever follows it starts on a line of its own.
class CliUserInterface final : public UserInterface {
 public:
  explicit CliUserInterface(bool yes);
  Answer Show(const MessageBox& box) override;
  std::string HowToChooseModel(int number, const std::string& name) const override;
  void Progress(int value, int maximum) override;
  void Monitor(const std::string& line) override;
  void SetVerbose(bool verbose) { verbose_ = verbose; }
  // A line of the tool's own (what failed and why, what to do).
  void Line(const std::string& text);
  // On a terminal, "waiting for the radio…" stands in for the progress line while true.
  void Waiting(bool waiting);

 private:
  void EndProgressLine();
  void DrawProgress();

  bool yes_;
  bool terminal_;
  bool verbose_ = false;
  bool progressShown_ = false;
  bool waiting_ = false;
  int value_ = 0;
  int maximum_ = 0;
};

struct Context {
  GlobalOptions options;
  Session& session;
  CliUserInterface& ui;
};

// Prints a usage error for `command` and returns kUsage.
int UsageError(const std::string& command, const std::string& problem);

// A command's words as its QCommandLineParser read them: its own options, the global
// ones given after it, and the other words in order (every one after "--").
struct CommandArgs {
  const QCommandLineParser& parser;
  const TypedWords& typed;
  std::vector<std::string> positional;

  bool Given(const QString& option) const { return parser.isSet(option); }
  std::string Value(const QString& option) const { return typed(parser.value(option)); }
};

// Writes `text` to stdout; kSuccess when all of it got there, else says why and returns kFailed.
int WriteStandardOutput(const std::string& command, const std::string& text);

// Lower-cased extension with its dot: ".hex", ".dat", ".txt", or "".
std::string Extension(const std::string& path);

// What to do with a file whose settings could not all be used as they stand: list the
// changes as warnings and go on, or list them and refuse (a command that writes them on).
enum class MendedFile { Warn, Refuse };

// Opening starts from the model's fresh image (no destination), then reads the file.
// Returns kSuccess, kFailed (message already printed) or kUsage (unknown extension).
int OpenDocument(Context& ctx, const std::string& path, MendedFile mended = MendedFile::Warn);
int SaveDocument(Context& ctx, const std::string& path);

int RunNew(Context& ctx, const CommandArgs& args);
int RunConvert(Context& ctx, const CommandArgs& args);
int RunDump(Context& ctx, const CommandArgs& args);
int RunReport(Context& ctx, const CommandArgs& args);  // report_command.cpp
int RunRead(Context& ctx, const CommandArgs& args);    // link_commands.cpp
int RunProgram(Context& ctx, const CommandArgs& args);  // program_command.cpp
int RunClear(Context& ctx, const CommandArgs& args);
int RunPorts(Context& ctx, const CommandArgs& args);
int RunDiff(Context& ctx, const CommandArgs& args);    // file_commands.cpp
int RunModels(Context& ctx, const CommandArgs& args);  // model_choice.cpp

// The models in use whose files `path` could be (none when it says nothing of one).
std::vector<int> FileModels(const Context& ctx, const std::string& path);
// Without --model, the one model in use that the file (or the radio's model codes) names
// becomes the session's; with none, the model stays and its check speaks. kFailed after
// saying so when several models fit.
int TakeFileModel(Context& ctx, const std::string& path);
void TakeRadioModel(Context& ctx, int first, int second);
int RunExportCsv(Context& ctx, const CommandArgs& args);  // csv_commands.cpp
int RunImportCsv(Context& ctx, const CommandArgs& args);
int RunVerify(Context& ctx, const CommandArgs& args);  // program_command.cpp

}  // namespace qm47::cli
