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
  return true;
}

}  // namespace

int RunProgram(Context& ctx, const std::vector<std::string>& args) {
  PortArgs a;
  int rc = kUsage;
  if (!ParsePortArgs("program", args, a, rc,
                     {"--no-backup", "--verify", "--verify=whole", "--verify=written", "--no-verify",
                      "--accept-changes", "--changed-only"})) {
    return rc;
  }
  if (a.rest.size() != 1) return UsageError("program", "expects one input file (.hex or .dat)");
  if (!IsSettingsFile(a.rest[0])) return UsageError("program", "'" + a.rest[0] + "' is not a .hex or .dat file");
  const auto given = [&](const char* flag) { return a.flags.count(flag) > 0; };
  const int checks = given("--verify") + given("--verify=whole") + given("--verify=written") + given("--no-verify");
  if (checks > 1) return UsageError("program", "takes one of --verify, --verify=whole, --verify=written, --no-verify");
  const MendedFile mended = given("--accept-changes") ? MendedFile::Warn : MendedFile::Refuse;
  if (const int o = OpenDocument(ctx, a.rest[0], mended); o != kSuccess) return o;
  const InterruptGuard guard;
  TransferJob job{transfer_mode::Program};
  job.verify = !given("--no-verify");
  job.checkWrittenOnly = given("--verify=written");
  // The backup read, the write and its check on one connection: a second connect to a
  // radio already at the fast rate would first wait out every slow-rate ping.
  job.readFirst = !given("--no-backup");
  job.changedOnly = given("--changed-only") && job.readFirst;
  if (given("--changed-only") && !job.readFirst) {
    ctx.ui.Line("qm47-cli program: --changed-only needs the radio read first; with --no-backup every block is written");
  }
  if (job.readFirst) job.beforeWrite = [&](const RadioBackup& kept) { return BackedUp(ctx, a.rest[0], job, kept); };
  TransferOutcome out;
  TransferRun run;
  run.outcome = &out;
  run.file = a.rest[0];
  const int t = RunTransfer(ctx, "program", job, a.port, run);
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

int RunVerify(Context& ctx, const std::vector<std::string>& args) {
  PortArgs a;
  int rc = kUsage;
  if (!ParsePortArgs("verify", args, a, rc)) return rc;
  if (a.rest.size() != 1) return UsageError("verify", "expects one input file (.hex or .dat)");
  const std::string& file = a.rest[0];
  if (!IsSettingsFile(file)) return UsageError("verify", "'" + file + "' is not a .hex or .dat file");
  if (const int o = OpenDocument(ctx, file); o != kSuccess) return o;
  const MemoryImage meant = ImageToProgram(ctx.session);
  const InterruptGuard guard;
  TransferRun run;
  run.file = file;
  if (const int t = RunTransfer(ctx, "verify", {transfer_mode::Read, true}, a.port, run); t != kSuccess) return t;
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
