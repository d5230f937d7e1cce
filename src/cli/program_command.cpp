// program and verify: the radio backed up and the changes listed before it is written,
// and what it holds compared with what was meant for it afterwards.
#include <string>
#include <vector>

#include "cli/radio_transfer.h"
#include "editor/program_review.h"

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

// Reads what the radio holds into a scratch image and keeps it as a backup; kSuccess
// only when the backup was written. "Complete!!" is left to the program transfer.
int BackUpRadio(Context& ctx, const std::string& command, const std::string& port, const std::string& file) {
  TransferOutcome read;
  TransferRun run;
  run.outcome = &read;
  run.file = file;
  run.saysComplete = false;
  const int rc = RunTransfer(ctx, command, {transfer_mode::Read, true}, port, run);
  if (rc != kSuccess) return rc;
  if (read.backup && read.backup->problem.empty()) {
    ctx.ui.Line("qm47-cli " + command + ": the radio's settings are backed up in " + read.backup->path);
    return kSuccess;
  }
  ctx.ui.Line("qm47-cli " + command + ": the radio's settings could not be backed up: " +
              (read.backup ? read.backup->problem : std::string("no backup was written")) +
              " Nothing was written to the radio; --no-backup programs it without a backup.");
  return kFailed;
}

}  // namespace

int RunProgram(Context& ctx, const std::vector<std::string>& args) {
  PortArgs a;
  int rc = kUsage;
  if (!ParsePortArgs("program", args, a, rc, {"--no-backup", "--verify", "--no-verify", "--accept-changes"})) return rc;
  if (a.rest.size() != 1) return UsageError("program", "expects one input file (.hex or .dat)");
  if (!IsSettingsFile(a.rest[0])) return UsageError("program", "'" + a.rest[0] + "' is not a .hex or .dat file");
  if (a.flags.count("--verify") && a.flags.count("--no-verify")) {
    return UsageError("program", "takes --verify or --no-verify, not both");
  }
  const MendedFile mended = a.flags.count("--accept-changes") ? MendedFile::Warn : MendedFile::Refuse;
  if (const int o = OpenDocument(ctx, a.rest[0], mended); o != kSuccess) return o;
  const InterruptGuard guard;
  if (!a.flags.count("--no-backup")) {
    if (const int b = BackUpRadio(ctx, "program", a.port, a.rest[0]); b != kSuccess) return b;
    // Listed, not asked: a script must not hang on a question, and --yes would only say yes.
    const std::vector<SettingChange> changes = PendingChanges(ctx.session);
    ListChanges(ctx,
                changes.empty() ? "qm47-cli program: no setting changes in the radio"
                                : "qm47-cli program: " + Settings(changes.size()) +
                                      (changes.size() == 1 ? " changes" : " change") + " in the radio (radio -> " +
                                      a.rest[0] + "):",
                changes);
  }
  TransferOutcome out;
  const TransferJob job{transfer_mode::Program, false, !a.flags.count("--no-verify")};
  TransferRun run;
  run.outcome = &out;
  run.file = a.rest[0];
  const int t = RunTransfer(ctx, "program", job, a.port, run);
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
