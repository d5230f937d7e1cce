#include "editor/session/start_session.h"

#include <algorithm>

#include "editor/session/fault_detail.h"
#include "files/atomic_file.h"
#include "files/data_folder.h"

namespace qm47 {

std::unique_ptr<Session> StartSession(const StartupRequest& request, PreferenceStore& prefs, UserInterface& ui) {
  const std::string cataloguePath = JoinPath(request.dataFolder, "global.ini");
  IniFile catalogue = IniFile::Load(cataloguePath);
  const std::vector<int> inUse = ModelsInUse(catalogue);
  int model = StartupModel(catalogue, prefs);
  if (request.model) model = std::find(inUse.begin(), inUse.end(), *request.model) != inUse.end() ? *request.model : 0;
  if (model == 0) {
    ui.MessageWithDetail(kUnknownModelMessage,
                         UnknownModelDetail(request.searchedFolders, FileLength(cataloguePath).has_value(),
                                            cataloguePath, request.model.value_or(0), inUse),
                         kApplicationTitle, Icon::Critical, Buttons::Ok);
    return nullptr;
  }
  ErrorLog log(request.flags.debugMode ? ErrorLogPath(request.dataFolder, request.stateFolder) : std::string{},
               request.flags.debugMode);
  auto session = std::make_unique<Session>(request.dataFolder, std::move(catalogue), prefs, ui, request.flags,
                                           std::move(log));
  SetModel(*session, model);
  session->backupFolder = request.backupFolder;
  return session;
}

}  // namespace qm47
