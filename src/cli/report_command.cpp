// report: the settings report of a .hex or .dat file, on stdout or saved as .txt.
#include <iostream>

#include "cli/cli.h"
#include "editor/documents/report_file.h"
#include "report/settings_report.h"

namespace qm47::cli {

int RunReport(Context& ctx, const CommandArgs& argv) {
  const std::vector<std::string>& args = argv.positional;
  if (args.empty() || args.size() > 2) return UsageError("report", "expects an input file and an optional .txt file");
  const std::string& in = args[0];
  if (Extension(in) != ".hex" && Extension(in) != ".dat") {
    return UsageError("report", "'" + in + "' is not a .hex or .dat file");
  }
  // Check the output name before reading, so a bad name touches nothing.
  if (args.size() == 2 && Extension(args[1]) != ".txt") {
    return UsageError("report", "'" + args[1] + "' is not a .txt file");
  }
  if (const int opened = OpenDocument(ctx, in); opened != kSuccess) return opened;

  const std::string text = MakeReportText(ctx.session);
  if (args.size() == 1) {
    return WriteStandardOutput("report", ReportFileText(text));
  }
  return SaveReportFile(ctx.session, args[1], text) ? kSuccess : kFailed;
}

}  // namespace qm47::cli
