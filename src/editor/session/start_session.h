// From the program's start to the one session: the catalogue, the model to edit and
// the error log, or "Unknown model!!" when the catalogue offers none.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/session/session.h"

namespace qm47 {

struct StartupRequest {
  std::string dataFolder;
  std::vector<std::string> searchedFolders;  // where global.ini was looked for, for the message
  std::string stateFolder;                   // err.log goes here when the data folder is read-only
  std::string backupFolder;                  // every read from the radio is kept here
  StartupFlags flags;
  std::optional<int> model;  // a model asked for by name; else the remembered or last one in use
};

// The session of the chosen model (descriptor set, image not yet built), or nullptr
// after "Unknown model!!" has been shown with the line that says why.
std::unique_ptr<Session> StartSession(const StartupRequest& request, PreferenceStore& prefs, UserInterface& ui);

}  // namespace qm47
