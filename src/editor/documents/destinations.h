// The Destination and Model menus: which regional defaults and which model the editor
// works with, and the two commands that replace the image wholesale.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "editor/session/session.h"

namespace qm47 {

inline constexpr const char* kChangeDestinationQuestion = "Do yo want to change to ";
inline constexpr const char* kChangeModelQuestion = "Do yo want to program the ";
inline constexpr const char* kIniFileReadErrorMessage = "IniFileRead Error!!";

struct DestinationMenu {
  bool enabled = false;
  std::vector<std::string> names;  // entry captions in menu order, at most 10
  int checked = -1;                // entry whose file the defaults came from; -1 none
};

// Fills the menu with the model's destinations and loads the remembered one
// ("IniFileName_" + model in "IniFilePath", default "usa"). Silent; true when loaded.
bool ScanDestinations(Session& s, DestinationMenu& menu);

// The set-up with destinations: the model's defaults, then ScanDestinations.
bool NewImageSetup(Session& s, DestinationMenu& menu);

// What a destination change did to the image.
enum class DestinationChange {
  Unchanged,  // refused or cancelled: nothing to redraw
  Loaded,     // the destination replaced the image
  Failed,     // the image holds the model's defaults
};
// After Loaded or Failed the window builds its tree again and shows "General".
// `mayReplace`, when given, is asked once the change is confirmed and before anything is
// replaced (the unsaved-changes question); false leaves everything as it was.
DestinationChange SelectDestination(Session& s, DestinationMenu& menu, int menuIndex,
                                    const std::function<bool()>& mayReplace = {});

struct ModelMenuEntry {
  std::string caption;
  bool visible = false;
  bool enabled = false;
  bool checked = false;
};
struct ModelMenu {
  bool editMenuVisible = false;  // only with two or more models to choose from
  std::array<ModelMenuEntry, kMaxModels> entries{};
};
ModelMenu ModelMenuFor(const IniFile& catalogue, int current);

enum class ModelChange {
  Unchanged,
  NewRequested,  // the caller runs File > New, which builds the new model's image
};
// `validate` checks the pending text entry first: File > New must not be refused once
// the model has changed, or image and model would no longer belong together. `mayReplace`,
// as for SelectDestination, is asked after the model question and before the model changes.
ModelChange SelectModel(Session& s, int menuIndex, const std::function<bool()>& validate,
                        const std::function<bool()>& mayReplace = {});

}  // namespace qm47
