// The one application session: image, record, model, flags and the services
// every command needs. Handed to whoever works on them; nothing is global.
#pragma once

#include <string>

#include "editor/startup.h"
#include "files/error_log.h"
#include "files/ini_file.h"
#include "files/preferences.h"
#include "model/memory_image.h"
#include "model/models.h"
#include "model/settings_record.h"
#include "seams/user_interface.h"

namespace qm47 {

struct WindowFlags {
  bool dirty = false;
  bool pageLoading = false;
  bool cancel = false;
  bool error = false;
};

struct Session {
  Session(std::string dataFolder, IniFile catalogue, PreferenceStore& prefs, UserInterface& ui,
          StartupFlags flags, ErrorLog log);

  std::string dataFolder;
  IniFile catalogue;
  PreferenceStore& prefs;
  UserInterface& ui;
  StartupFlags startup;
  ErrorLog errorLog;

  ModelDescriptor model;
  MemoryImage image;
  SettingsRecord record;
  WindowFlags flags;
  std::string currentFileName;

  // Editor message box: the model title as caption.
  Answer Say(const std::string& text, Icon icon, Buttons buttons = Buttons::Ok);
  // The same with a line under the text that says what failed, where and what to do.
  Answer SayWhy(const std::string& text, const std::string& detail, Icon icon, Buttons buttons = Buttons::Ok);
};

// Makes `number` the current model (descriptor only; callers run the set-up).
void SetModel(Session& s, int number);

}  // namespace qm47
