// export-csv, import-csv.
#include "editor/lists/csv_commands.h"

#include "cli/cli.h"

namespace qm47::cli {

namespace {

bool IsDocument(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".hex" || ext == ".dat";
}

// The list --list names; nullopt after a usage error (no --list, or no such list).
std::optional<CsvList> ListOption(const std::string& command, const CommandArgs& args) {
  if (!args.Given("list")) {
    UsageError(command, "needs --list NAME, one of " + CsvListNames());
    return std::nullopt;
  }
  const std::string name = args.Value("list");
  const auto list = CsvListNamed(name);
  if (!list) UsageError(command, "'" + name + "' is not a list; the lists are " + CsvListNames());
  return list;
}

}  // namespace

int RunExportCsv(Context& ctx, const CommandArgs& argv) {
  const std::string command = "export-csv";
  const auto list = ListOption(command, argv);
  if (!list) return kUsage;
  const std::vector<std::string>& args = argv.positional;
  if (args.size() != 2) return UsageError(command, "expects an input file and an output .csv file");
  if (!IsDocument(args[0])) return UsageError(command, "'" + args[0] + "' is not a .hex or .dat file");
  if (Extension(args[1]) != ".csv") return UsageError(command, "'" + args[1] + "' is not a .csv file");
  if (const int opened = OpenDocument(ctx, args[0]); opened != kSuccess) return opened;
  return ExportListFile(ctx.session, *list, args[1]) ? kSuccess : kFailed;
}

int RunImportCsv(Context& ctx, const CommandArgs& argv) {
  const std::string command = "import-csv";
  const auto list = ListOption(command, argv);
  if (!list) return kUsage;
  const std::vector<std::string>& args = argv.positional;
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
