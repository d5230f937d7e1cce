// program and verify: the radio backed up and the changes listed before it is written,
// and what it holds compared with what was meant for it afterwards.
#include <string>
#include <vector>

#include "cli/radio_transfer.h"
#include "editor/radio/program_review.h"

namespace qm47::cli {

namespace {

bool IsSettingsFile(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".hex" || ext == ".dat";
}

// Every change on a line of its own under a heading line.
void ListChanges(Context& ctx, const std::string& heading, const std::vector<SettingChange>& changes) {
  std::string text = SettingChangesText(changes);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  ctx.ui.Line(heading);
  if (!text.empty()) ctx.ui.Line(text);
}

std::string Settings(std::size_t n) { return std::to_string(n) + (n == 1 ? " setting" : " settings"); }

// Said once the radio has been read and before anything is written: where its settings
// are kept, and what will change. False stops the program with nothing written.
bool BackedUp(Context& ctx, const std::string& file, const TransferJob& job, const RadioBackup& kept) {
  if (!kept.problem.empty()) {
    ctx.ui.Line("qm47-cli program: the radio's settings could not be backed up: " + kept.problem +
                " Nothing was written to the radio; --no-backup programs it without a backup.");
    return false;
  }
  ctx.ui.Line("qm47-cli program: the radio's settings are backed up in " + kept.path);
  if (job.changedOnly) ctx.ui.Line("qm47-cli program: " + ReviewProgram(ctx.session, true, job.checkWrittenOnly).plan);
  // Listed, not asked: a script must not hang on a question, and --yes would only say yes.
  const std::vector<SettingChange> changes = PendingChanges(ctx.session);
  ListChanges(ctx,
              changes.empty() ? "qm47-cli program: no setting changes in the radio"
                              : "qm47-cli program: " + Settings(changes.size()) +
                                    (changes.size() == 1 ? " changes" : " change") + " in the radio (radio -> " +
                                    file + "):",
              changes);
  if (const std::string warning = MmsiLossWarning(ctx.session); !warning.empty()) {
    ctx.ui.Line("qm47-cli program: warning: " + warning);
  }
  return true;
}

}  // namespace

int RunProgram(Context& ctx, const CommandArgs& args) {
  if (args.Value("port").empty()) return PortMissing("program");
  if (args.positional.size() != 1) return UsageError("program", "expects one input file (.hex or .dat)");
  const std::string& file = args.positional[0];
  if (!IsSettingsFile(file)) return UsageError("program", "'" + file + "' is not a .hex or .dat file");
  QStringList checks = args.parser.values("verify");  // {"whole"} unless given
  checks.removeDuplicates();
  if (checks.size() > 1 || (args.Given("verify") && args.Given("no-verify"))) {
    return UsageError("program", "takes one of --verify, --verify=whole, --verify=written, --no-verify");
  }
  const std::string check = args.Value("verify");
  if (check != "whole" && check != "written") {
    return UsageError("program", "--verify=" + check + " is not --verify=whole or --verify=written");
  }
  const MendedFile mended = args.Given("accept-changes") ? MendedFile::Warn : MendedFile::Refuse;
  if (const int o = OpenDocument(ctx, file, mended); o != kSuccess) return o;
  const InterruptGuard guard;
  TransferJob job{transfer_mode::Program};
  job.verify = !args.Given("no-verify");
  job.checkWrittenOnly = check == "written";
  // The backup read, the write and its check on one connection: a second connect to a
  // radio already at the fast rate would first wait out every slow-rate ping.
  job.readFirst = !args.Given("no-backup");
  job.changedOnly = args.Given("changed-only") && job.readFirst;
  if (args.Given("changed-only") && !job.readFirst) {
    ctx.ui.Line("qm47-cli program: --changed-only needs the radio read first; with --no-backup every block is written");
  }
  if (job.readFirst) job.beforeWrite = [&](const RadioBackup& kept) { return BackedUp(ctx, file, job, kept); };
  TransferOutcome out;
  TransferRun run;
  run.outcome = &out;
  run.file = file;
  const int t = RunTransfer(ctx, "program", job, args.Value("port"), run);
  const auto& plan = out.result.plan;
  if (t == kSuccess && plan && !plan->whole && !plan->empty()) {
    ctx.ui.Line("qm47-cli program: wrote only what differs from the radio: " + WritesOfAll(plan->requests()) + " (" +
                AreasText(out.result.written) + ")");
  }
  if (out.readBack && !out.readBack->differing.empty()) {
    ListChanges(ctx, "qm47-cli program: the radio did not keep these settings (written -> held); program it again:",
                UnkeptSettings(ctx.session, ctx.session.image, out.readBack->radio));
  }
  return AfterInterrupt(ctx, "program", t);
}

int RunVerify(Context& ctx, const CommandArgs& args) {
  if (args.Value("port").empty()) return PortMissing("verify");
  if (args.positional.size() != 1) return UsageError("verify", "expects one input file (.hex or .dat)");
  const std::string& file = args.positional[0];
  if (!IsSettingsFile(file)) return UsageError("verify", "'" + file + "' is not a .hex or .dat file");
  if (const int o = OpenDocument(ctx, file); o != kSuccess) return o;
  const MemoryImage meant = ImageToProgram(ctx.session);
  const InterruptGuard guard;
  TransferRun run;
  run.file = file;
  const int t = RunTransfer(ctx, "verify", {transfer_mode::Read, true}, args.Value("port"), run);
  if (t != kSuccess) return t;
  const std::vector<SettingChange> unkept = UnkeptSettings(ctx.session, meant, *ctx.session.radioImage);
  if (unkept.empty()) {
    ctx.ui.Line("qm47-cli verify: the radio holds the settings of " + file);
    return AfterInterrupt(ctx, "verify", kSuccess);
  }
  ListChanges(ctx,
              "qm47-cli verify: " + Settings(unkept.size()) + (unkept.size() == 1 ? " differs (" : " differ (") + file +
                  " -> radio):",
              unkept);
  return kFailed;
}

}  // namespace qm47::cli
