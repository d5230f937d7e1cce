// models, and the model a command takes from its file or the radio when --model is not given.
#include <iostream>

#include "cli/cli.h"
#include "editor/session/model_detection.h"
#include "editor/session/startup.h"
#include "model/fresh_image.h"

namespace qm47::cli {

namespace {

// Several models fitting is refused; none leaves the model for its check to speak.
int Take(Context& ctx, const std::string& what, const std::vector<int>& fits) {
  if (fits.size() > 1) {
    ctx.ui.Line("qm47-cli: " + SeveralModelsFit(what, fits));
    return kFailed;
  }
  if (fits.size() == 1 && fits[0] != ctx.session.model.number) SetModel(ctx.session, fits[0]);
  return kSuccess;
}

}  // namespace

std::vector<int> FileModels(const Context& ctx, const std::string& path) {
  const IniFile& catalogue = ctx.session.catalogue;
  return Extension(path) == ".dat" ? ModelsOfDatFile(catalogue, path) : ModelsOfHexFile(catalogue, path);
}

int TakeFileModel(Context& ctx, const std::string& path) { return Take(ctx, "'" + path + "'", FileModels(ctx, path)); }

void TakeRadioModel(Context& ctx, int first, int second) {
  const int before = ctx.session.model.number;
  Take(ctx, "The radio", ModelsOfCodes(ctx.session.catalogue, first, second));
  // What a read does not take over comes from the fresh image of the radio's model.
  if (ctx.session.model.number != before) NewImageData(ctx.session.record, ctx.session.image, ctx.session.model.number);
}

int RunModels(Context& ctx, const CommandArgs& args) {
  if (!args.positional.empty()) return UsageError("models", "takes no arguments");
  const IniFile& catalogue = ctx.session.catalogue;
  std::string text = "MODEL\tNAME\tCODE\tATIS\tSCRAMBLER\n";
  const auto dash = [](const std::string& s) { return s.empty() ? std::string("-") : s; };
  for (const int m : ModelsInUse(catalogue)) {
    const ModelDescriptor d = DescriptorFromCatalogue(catalogue, m);
    const auto code = ModelCode(m);
    text += std::to_string(m) + "\t" + dash(ModelMenuName(m)) + "\t" + (code ? std::to_string(*code) : "-") + "\t" +
            (d.atis ? "yes" : "no") + "\t" + (d.scrambler ? "yes" : "no") + "\n";
  }
  text += "\nWithout --model a command takes the model its file or the radio holds, else " +
          ModelLabel(StartupModel(catalogue, ctx.session.prefs)) + ".\n";
  return WriteStandardOutput("models", text);
}

}  // namespace qm47::cli
