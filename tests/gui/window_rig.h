// The real main window over a scratch data folder, with a scripted user who answers
// every message and file dialog, shown on the offscreen platform.
#pragma once

#include <QApplication>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "editor/session/session.h"
#include "files/preferences.h"
#include "gui/main_window.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace qm47::testing {

inline void EnsureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives as long as the test program
}

// Keyboard input needs the window active and the control focused.
inline void Focus(QWidget* control) {
  QApplication::setActiveWindow(control->window());
  control->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
}

struct WindowRig {
  WindowRig(const std::string& catalogue, int model, bool debug = false)
      : session((EnsureApplication(), dir.path().string()), IniFile::Parse(catalogue), prefs, ui,
                StartupFlags{debug, false}, ErrorLog("", false)) {
    SetModel(session, model);
    session.backupFolder = dir / "backups";
    window = std::make_unique<MainWindow>(session);
    window->Load();
    window->show();
  }

  template <class T>
  T* Find(const char* name) const {
    return window->findChild<T*>(name);
  }
  QTreeWidget* Tree() const { return Find<QTreeWidget>("tvTreeView"); }

  TempDir dir{"gui"};
  MemoryPreferenceStore prefs;
  RecordingUi ui;
  Session session;
  std::unique_ptr<MainWindow> window;
};

}  // namespace qm47::testing
