// new, convert, dump, diff.
#include <algorithm>
#include <iostream>

#include "cli/cli.h"
#include "editor/session/fault_detail.h"
#include "editor/documents/new_image.h"
#include "files/settings_diff.h"
#include "model/codec.h"
#include "report/hex_dump.h"

namespace qm47::cli {

namespace {

// The settings documents: the raw image and the settings text file.
bool IsDocument(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".hex" || ext == ".dat";
}

}  // namespace

int RunNew(Context& ctx, const CommandArgs& args) {
  const std::string destination = args.Value("destination");
  const std::vector<std::string>& rest = args.positional;
  if (rest.size() != 1) return UsageError("new", "expects exactly one output file");
  if (!IsDocument(rest[0])) return UsageError("new", "'" + rest[0] + "' is not a .hex or .dat file");
  const bool loaded = NewImageSetup(ctx.session, destination);
  if (!destination.empty() && !loaded) {
    ctx.session.SayWhy("IniFileRead Error!!", DestinationFaultDetail(ctx.session, destination), Icon::Exclamation);
    return kFailed;
  }
  return SaveDocument(ctx, rest[0]);
}

int RunConvert(Context& ctx, const CommandArgs& argv) {
  const std::vector<std::string>& args = argv.positional;
  if (args.size() != 2) return UsageError("convert", "expects an input and an output file");
  // Check both names before touching anything, so a bad output name writes nothing.
  for (const auto& path : args) {
    if (!IsDocument(path)) return UsageError("convert", "'" + path + "' is not a .hex or .dat file");
  }
  const MendedFile mended = argv.Given("accept-changes") ? MendedFile::Warn : MendedFile::Refuse;
  if (const int opened = OpenDocument(ctx, args[0], mended); opened != kSuccess) return opened;
  return SaveDocument(ctx, args[1]);
}

int RunDump(Context& ctx, const CommandArgs& argv) {
  const std::vector<std::string>& args = argv.positional;
  if (args.size() != 1) return UsageError("dump", "expects one input file");
  if (const int opened = OpenDocument(ctx, args[0]); opened != kSuccess) return opened;
  // A settings text file has no image of its own: show the one a .hex save would write.
  if (Extension(args[0]) == ".dat") {
    PrepareImageForExport(ctx.session.record, ctx.session.image, ctx.session.model.number);
  }
  return WriteStandardOutput("dump", HexDumpText(ctx.session.image));
}

int RunDiff(Context& ctx, const CommandArgs& argv) {
  const std::vector<std::string>& args = argv.positional;
  if (args.size() != 2) return UsageError("diff", "expects the two files to compare");
  for (const auto& path : args) {
    if (!IsDocument(path)) return UsageError("diff", "'" + path + "' is not a .hex or .dat file");
  }
  if (const int opened = OpenDocument(ctx, args[0]); opened != kSuccess) return opened;
  const SettingsRecord first = ctx.session.record;
  // Settings of two models have no common ground: saying which --model to take would only
  // send the user from one file's model to the other's.
  const int model = ctx.session.model.number;
  if (const std::vector<int> fits = FileModels(ctx, args[1]);
      !fits.empty() && std::find(fits.begin(), fits.end(), model) == fits.end()) {
    ctx.ui.Line("qm47-cli diff: '" + args[1] + "' holds settings of " + ModelLabel(fits.front()) + ", '" + args[0] +
                "' of " + ModelLabel(model) + ": files of different models cannot be compared");
    return kFailed;
  }
  // The second file is read as the first one's model.
  ctx.options.model = model;
  if (const int opened = OpenDocument(ctx, args[1]); opened != kSuccess) return opened;
  const std::vector<SettingChange> changes = DiffSettings(first, ctx.session.record, ctx.session.model);
  if (const int written = WriteStandardOutput("diff", SettingChangesText(changes)); written != kSuccess) return written;
  return changes.empty() ? kSuccess : kFailed;
}

}  // namespace qm47::cli
