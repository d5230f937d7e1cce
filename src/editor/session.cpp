#include "editor/session.h"

namespace qm47 {

Session::Session(std::string dataFolder_, IniFile catalogue_, PreferenceStore& prefs_, UserInterface& ui_,
                 StartupFlags flags_, ErrorLog log_)
    : dataFolder(std::move(dataFolder_)),
      catalogue(std::move(catalogue_)),
      prefs(prefs_),
      ui(ui_),
      startup(flags_),
      errorLog(std::move(log_)) {}

Answer Session::Say(const std::string& text, Icon icon, Buttons buttons) {
  return ui.Message(text, model.title, icon, buttons);
}

Answer Session::SayWhy(const std::string& text, const std::string& detail, Icon icon, Buttons buttons) {
  return ui.MessageWithDetail(text, detail, model.title, icon, buttons);
}

void SetModel(Session& s, int number) { s.model = DescriptorFromCatalogue(s.catalogue, number); }

}  // namespace qm47
