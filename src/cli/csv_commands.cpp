// export-csv, import-csv.
#include "editor/lists/csv_commands.h"

#include "cli/cli.h"

namespace qm47::cli {

namespace {

bool IsDocument(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".hex" || ext == ".dat";
}

// The command's arguments with its --list NAME; nullopt after a usage error (printed, `rc` set).
std::optional<CsvList> ParseListCommand(const std::string& command, const std::vector<std::string>& argv,
                                        CommandArgs& parsed, int& rc) {
  rc = kUsage;
  if (!ParseCommandArgs(command, argv, {"--list"}, parsed, rc)) return std::nullopt;
  const auto option = parsed.options.find("--list");
  if (option == parsed.options.end()) {
    rc = UsageError(command, "needs --list NAME, one of " + CsvListNames());
    return std::nullopt;
  }
  const auto list = CsvListNamed(option->second);
  if (!list) rc = UsageError(command, "'" + option->second + "' is not a list; the lists are " + CsvListNames());
  return list;
}

}  // namespace

int RunExportCsv(Context& ctx, const std::vector<std::string>& argv) {
  const std::string command = "export-csv";
  CommandArgs parsed;
  int rc = kUsage;
  const auto list = ParseListCommand(command, argv, parsed, rc);
  if (!list) return rc;
  const std::vector<std::string>& args = parsed.positional;
  if (args.size() != 2) return UsageError(command, "expects an input file and an output .csv file");
  if (!IsDocument(args[0])) return UsageError(command, "'" + args[0] + "' is not a .hex or .dat file");
  if (Extension(args[1]) != ".csv") return UsageError(command, "'" + args[1] + "' is not a .csv file");
  if (const int opened = OpenDocument(ctx, args[0]); opened != kSuccess) return opened;
  return ExportListFile(ctx.session, *list, args[1]) ? kSuccess : kFailed;
}

int RunImportCsv(Context& ctx, const std::vector<std::string>& argv) {
  const std::string command = "import-csv";
  CommandArgs parsed;
  int rc = kUsage;
  const auto list = ParseListCommand(command, argv, parsed, rc);
  if (!list) return rc;
  const std::vector<std::string>& args = parsed.positional;
  if (args.size() != 3) return UsageError(command, "expects a .csv file, the file to merge it into and an output file");
  if (Extension(args[0]) != ".csv") return UsageError(command, "'" + args[0] + "' is not a .csv file");
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!IsDocument(args[i])) return UsageError(command, "'" + args[i] + "' is not a .hex or .dat file");
  }
  if (const int opened = OpenDocument(ctx, args[1]); opened != kSuccess) return opened;
  if (ImportListFile(ctx.session, *list, args[0]) == CsvImportOutcome::Refused) return kFailed;
  return SaveDocument(ctx, args[2]);
}

}  // namespace qm47::cli
