// The main window's menu bar and tool bar: built once with their documented captions,
// keys and names, then drawn from the command layer's menu state.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <array>
#include <string>

#include "editor/documents/destinations.h"
#include "editor/session/edit_history.h"
#include "editor/session/main_commands.h"
#include "model/models.h"

namespace qm47 {

inline constexpr int kDestinationEntries = 11;
inline constexpr int kPortEntries = 4;

struct MainMenus {
  QMenu* file = nullptr;
  QAction* fileNew = nullptr;
  QAction* fileOpen = nullptr;
  QAction* fileOpenBackup = nullptr;  // a read kept in the backups folder
  QAction* fileSave = nullptr;
  QAction* fileSaveAs = nullptr;
  QAction* fileSaveAsDefault = nullptr;
  QAction* fileExportCsv = nullptr;
  QAction* fileImportCsv = nullptr;
  QAction* filePrint = nullptr;
  QAction* filePrintPreview = nullptr;
  QAction* filePrintToFile = nullptr;
  QAction* fileExit = nullptr;

  QMenu* edit = nullptr;
  QAction* editUndo = nullptr;
  QAction* editRedo = nullptr;
  QAction* editModelSeparator = nullptr;
  QMenu* editModel = nullptr;
  std::array<QAction*, kMaxModels> models{};

  QMenu* transfer = nullptr;
  QAction* transferProgram = nullptr;
  QAction* transferRead = nullptr;

  QMenu* destination = nullptr;
  std::array<QAction*, kDestinationEntries> destinations{};

  QMenu* options = nullptr;
  QMenu* serialPort = nullptr;
  std::array<QAction*, kPortEntries> ports{};  // COM1 .. COM4
  QAction* portDevice = nullptr;               // which device the checked port stands for
  QAction* hexDump = nullptr;
  QAction* changedOnly = nullptr;  // Program only changed settings
  QAction* backups = nullptr;

  QMenu* help = nullptr;
  QAction* helpContents = nullptr;
  QAction* helpAbout = nullptr;

  QToolBar* toolBar = nullptr;
};

// Menus and tool bar on `window`; the actions are children of the window. The tool bar's
// pictures come from `iconFolder` (new.png, open.png, ...).
MainMenus BuildMainMenus(QMainWindow& window, const std::string& iconFolder);

struct MenuView {
  ModelMenu models;
  const MainWindowState* state = nullptr;
  std::array<std::string, kPortEntries> portDevices;  // what COM1 .. COM4 stand for
  bool debugMode = false;
  bool helpAvailable = false;
};
// Captions, check marks, visibility and enabling, as the command layer has them now.
void DrawMenus(MainMenus& menus, const MenuView& view);
// Undo and Redo: enabled while there is a step to take, named after it ("&Undo CH16").
void DrawEditSteps(MainMenus& menus, const EditHistory& history);

}  // namespace qm47
