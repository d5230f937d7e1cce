#include "editor/documents/destinations.h"

#include <algorithm>
#include <cctype>

#include "editor/session/fault_detail.h"
#include "editor/documents/new_image.h"
#include "editor/session/startup.h"
#include "model/text.h"

namespace qm47 {

namespace {

constexpr const char* kDestinationSection = "IniFilePath";

std::string RememberedKey(const Session& s) { return "IniFileName_" + std::to_string(s.model.number); }


bool InMenu(const DestinationMenu& menu, int index) {
  return index >= 0 && index < static_cast<int>(menu.names.size());
}

bool InUse(const IniFile& catalogue, int number) {
  const std::vector<int> models = ModelsInUse(catalogue);
  return std::find(models.begin(), models.end(), number) != models.end();
}

}  // namespace

bool ScanDestinations(Session& s, DestinationMenu& menu) {
  menu = DestinationMenu{};
  for (std::string& name : ScanDestinationNames(s.dataFolder, s.model)) {
    // "_1004.ini" names nothing a menu can show, and "USA_old_1004.ini" would offer
    // a second entry that loads USA_1004.ini too.
    if (name.empty() || std::find(menu.names.begin(), menu.names.end(), name) != menu.names.end()) continue;
    menu.names.push_back(std::move(name));
  }
  if (menu.names.empty()) return false;
  menu.enabled = true;

  const std::string wanted = s.prefs.Get(kDestinationSection, RememberedKey(s), "usa");
  const auto found = std::find_if(menu.names.begin(), menu.names.end(),
                                  [&](const std::string& name) { return SameIgnoringCase(name, wanted); });
  if (found == menu.names.end()) return false;
  if (!LoadDestinationFile(s, DestinationPath(s, *found))) return false;
  menu.checked = static_cast<int>(found - menu.names.begin());
  return true;
}

bool NewImageSetup(Session& s, DestinationMenu& menu) {
  NewImageSetup(s);
  return ScanDestinations(s, menu);
}

DestinationChange SelectDestination(Session& s, DestinationMenu& menu, int menuIndex,
                                    const std::function<bool()>& mayReplace) {
  if (!menu.enabled || !InMenu(menu, menuIndex)) return DestinationChange::Unchanged;
  const std::string name = menu.names[static_cast<std::size_t>(menuIndex)];
  if (menuIndex != menu.checked &&
      s.Say(kChangeDestinationQuestion + name + "?", Icon::Exclamation, Buttons::OkCancel) != Answer::Ok) {
    return DestinationChange::Unchanged;
  }
  if (mayReplace && !mayReplace()) return DestinationChange::Unchanged;

  const BusyScope busy(s.ui);
  s.ui.Pause(500);
  NewImageSetup(s);
  const int previous = menu.checked;
  menu.checked = -1;
  const bool ok = LoadDestinationFile(s, DestinationPath(s, name));
  if (ok) {
    menu.checked = menuIndex;
    s.prefs.Save(kDestinationSection, RememberedKey(s), name);
  } else {
    s.SayWhy(kIniFileReadErrorMessage, DestinationFaultDetail(s, name), Icon::Exclamation);
    menu.checked = previous;
  }
  s.ForgetEdits();
  return ok ? DestinationChange::Loaded : DestinationChange::Failed;
}

ModelMenu ModelMenuFor(const IniFile& catalogue, int current) {
  ModelMenu menu;
  const std::vector<int> models = ModelsInUse(catalogue);
  for (const int number : models) {
    ModelMenuEntry& entry = menu.entries[static_cast<std::size_t>(number - 1)];
    entry.caption = ModelMenuName(number);
    entry.visible = entry.enabled = true;
    entry.checked = number == current;
  }
  menu.editMenuVisible = models.size() >= 2;
  return menu;
}

ModelChange SelectModel(Session& s, int menuIndex, const std::function<bool()>& validate,
                        const std::function<bool()>& mayReplace) {
  const int number = menuIndex + 1;
  if (number == s.model.number || !InUse(s.catalogue, number)) return ModelChange::Unchanged;
  if (validate && !validate()) return ModelChange::Unchanged;
  if (s.Say(kChangeModelQuestion + ModelName(number) + " series?", Icon::Exclamation, Buttons::OkCancel) !=
      Answer::Ok) {
    return ModelChange::Unchanged;
  }
  if (mayReplace && !mayReplace()) return ModelChange::Unchanged;
  SetModel(s, number);
  s.history.Clear(!s.flags.dirty);
  s.prefs.Save("Settings", "lastmodel", std::to_string(number));
  return ModelChange::NewRequested;
}

}  // namespace qm47
