#include "gui/main_menus.h"

#include <QActionGroup>
#include <QIcon>
#include <QMenuBar>
#include <QToolButton>

#include "gui/png_icon.h"

namespace qm47 {

namespace {

QString WithoutAccessKeys(QString caption) {
  caption.replace("&&", "\x01");
  caption.remove('&');
  caption.replace("\x01", "&");
  return caption;
}

// Actions belong to the window, so they are found by name from it.
QAction* Entry(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& keys = {}) {
  auto* action = new QAction(caption, menu->parent());
  action->setObjectName(name);
  if (!keys.isEmpty()) action->setShortcut(keys);
  menu->addAction(action);
  return action;
}

QMenu* Menu(QWidget* parentMenu, QMainWindow& window, const char* name, const QString& caption) {
  auto* menu = new QMenu(caption, &window);
  menu->setObjectName(name);
  menu->setAccessibleName(WithoutAccessKeys(caption));
  if (auto* bar = qobject_cast<QMenuBar*>(parentMenu)) {
    bar->addMenu(menu);
  } else if (auto* up = qobject_cast<QMenu*>(parentMenu)) {
    up->addMenu(menu);
  }
  menu->menuAction()->setObjectName(QString(name) + "Item");
  return menu;
}

// A menu holds only the numbered entries in use: a screen reader lists hidden entries too,
// as items without a name.
template <std::size_t N>
void KeepInMenu(QMenu* menu, const std::array<QAction*, N>& entries) {
  for (QAction* a : entries) menu->removeAction(a);
  for (QAction* a : entries) {
    if (a->isVisible()) menu->addAction(a);
  }
}

QAction* Numbered(QMenu* menu, const char* name, int number) {
  return Entry(menu, QString("%1_%2").arg(name).arg(number), {});
}

void AddButton(QToolBar* bar, QAction* action, const char* key, const QString& toolTip, const QString& iconFolder,
               const char* iconName) {
  action->setToolTip(toolTip);
  action->setIcon(PngIcon(iconFolder + "/" + iconName + ".png"));
  bar->addAction(action);
  QWidget* button = bar->widgetForAction(action);
  button->setObjectName(QString("tbToolBar_") + key);
  button->setAccessibleName(toolTip);
}

}  // namespace

MainMenus BuildMainMenus(QMainWindow& window, const std::string& iconFolder) {
  MainMenus m;
  QMenuBar* bar = window.menuBar();
  bar->setObjectName("mnuMenuBar");
  bar->setAccessibleName("Menu Bar");

  m.file = Menu(bar, window, "mnuFile", "&File");
  m.fileNew = Entry(m.file, "mnuFileNew", "&New", QKeySequence::New);
  m.fileOpen = Entry(m.file, "mnuFileOpen", "&Open", QKeySequence::Open);
  m.fileOpenBackup = Entry(m.file, "mnuFileOpenBackup", "Open &Backup...");
  m.file->addSeparator();
  m.fileSave = Entry(m.file, "mnuFileSave", "&Save", QKeySequence::Save);
  m.fileSaveAs = Entry(m.file, "mnuFileSaveAs", "Save &As...");
  m.fileSaveAsDefault = Entry(m.file, "mnuFileSaveAsDefault", "Save As &Default");
  m.file->addSeparator();
  m.fileExportCsv = Entry(m.file, "mnuFileExportCsv", "&Export List as CSV...");
  m.fileImportCsv = Entry(m.file, "mnuFileImportCsv", "&Import List from CSV...");
  m.file->addSeparator();
  m.filePrint = Entry(m.file, "mnuFilePrint", "&Print", QKeySequence::Print);
  m.filePrintPreview = Entry(m.file, "mnuFilePrintPreview", "Print Pre&view");
  m.filePrintToFile = Entry(m.file, "mnuFilePrintToFile", "P&rint to File");
  m.file->addSeparator();
  m.fileExit = Entry(m.file, "mnuFileExit", "E&xit");

  m.edit = Menu(bar, window, "mnuEdit", "&Edit");
  m.editUndo = Entry(m.edit, "mnuEditUndo", "&Undo", QKeySequence::Undo);
  m.editRedo = Entry(m.edit, "mnuEditRedo", "&Redo");
  // Ctrl+Y everywhere, and the platform's own redo keys besides.
  QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
  for (const QKeySequence& keys : QKeySequence::keyBindings(QKeySequence::Redo)) {
    if (!redoKeys.contains(keys)) redoKeys << keys;
  }
  m.editRedo->setShortcuts(redoKeys);
  m.editModelSeparator = m.edit->addSeparator();
  m.editModel = Menu(m.edit, window, "mnuEditModel", "&Model");
  for (int i = 0; i < kMaxModels; ++i) {
    m.models[static_cast<std::size_t>(i)] = Numbered(m.editModel, "mnuModel", i);
    m.models[static_cast<std::size_t>(i)]->setCheckable(true);
  }

  m.transfer = Menu(bar, window, "mnuTransfer", "&Transfer");
  m.transferProgram = Entry(m.transfer, "mnuTransferProgram", "&Program to Radio");
  m.transferRead = Entry(m.transfer, "mnuTransferRead", "&Read from Radio");

  m.destination = Menu(bar, window, "mnuDestination", "&Destination");
  for (int i = 0; i < kDestinationEntries; ++i) {
    QAction* entry = Numbered(m.destination, "mnuDST", i);
    entry->setText(QString("DST%1").arg(i));
    entry->setCheckable(true);
    m.destinations[static_cast<std::size_t>(i)] = entry;
  }

  m.options = Menu(bar, window, "mnuOptions", "&Options");
  m.serialPort = Menu(m.options, window, "mnuOptionsSerialPort", "&SerialPort");
  auto* ports = new QActionGroup(&window);
  for (int n = 1; n <= kPortEntries; ++n) {
    QAction* entry = Numbered(m.serialPort, "mnuCOM", n);
    entry->setCheckable(true);
    ports->addAction(entry);
    m.ports[static_cast<std::size_t>(n - 1)] = entry;
  }
  m.serialPort->addSeparator();
  m.portDevice = Entry(m.serialPort, "mnuOptionsPortDevice", "&Device...");
  m.hexDump = Entry(m.options, "mnuOptionsHexdump", "Hexdump");
  m.hexDump->setCheckable(true);
  m.changedOnly = Entry(m.options, "mnuOptionsChangedOnly", "Program only &changed settings");
  m.changedOnly->setCheckable(true);
  m.options->addSeparator();
  m.backups = Entry(m.options, "mnuOptionsBackups", "Open &Backups Folder");

  m.help = Menu(bar, window, "mnuHelp", "&Help");
  m.helpContents = Entry(m.help, "mnuHelpContents", "&Contents", QKeySequence::HelpContents);
  m.help->addSeparator();
  m.helpAbout = Entry(m.help, "mnuHelpAbout", "&About KVX Version");

  m.toolBar = window.addToolBar("Tool Bar");
  m.toolBar->setObjectName("tbToolBar");
  m.toolBar->setAccessibleName("Tool Bar");
  m.toolBar->setMovable(false);
  m.toolBar->setIconSize({24, 24});
  // Shown when the window is too narrow for every button; a screen reader names it too.
  if (auto* more = m.toolBar->findChild<QToolButton*>("qt_toolbar_ext_button")) more->setAccessibleName("More buttons");
  const QString icons = QString::fromStdString(iconFolder);
  AddButton(m.toolBar, m.fileNew, "New", "New", icons, "new");
  AddButton(m.toolBar, m.fileOpen, "Open", "Open...", icons, "open");
  AddButton(m.toolBar, m.fileSave, "Save", "Save", icons, "save");
  AddButton(m.toolBar, m.fileSaveAsDefault, "SaveAsDefault", "Save As Default", icons, "save-as-default");
  m.toolBar->addSeparator();
  AddButton(m.toolBar, m.filePrint, "Print", "Print", icons, "print");
  m.toolBar->addSeparator();
  AddButton(m.toolBar, m.transferProgram, "Program", "Program to Radio", icons, "program");
  AddButton(m.toolBar, m.transferRead, "Read", "Read from Radio", icons, "read");
  // No action is attached to Save As Default: shown, but not offered.
  m.fileSaveAsDefault->setEnabled(false);
  return m;
}

void DrawMenus(MainMenus& m, const MenuView& view) {
  m.editModel->menuAction()->setVisible(view.models.editMenuVisible);
  m.editModelSeparator->setVisible(view.models.editMenuVisible);
  for (std::size_t i = 0; i < m.models.size(); ++i) {
    const ModelMenuEntry& e = view.models.entries[i];
    QAction* a = m.models[i];
    a->setText(QString::fromStdString(e.caption));
    a->setVisible(e.visible);
    a->setEnabled(e.enabled);
    a->setChecked(e.checked);
  }
  KeepInMenu(m.editModel, m.models);

  const MainWindowState& state = *view.state;
  const DestinationMenu& dst = state.destinations;
  m.destination->setEnabled(dst.enabled);
  for (std::size_t i = 0; i < m.destinations.size(); ++i) {
    QAction* a = m.destinations[i];
    const bool used = i < dst.names.size();
    QString caption = used ? QString::fromStdString(dst.names[i]) : QString();
    a->setText(caption.replace("&", "&&"));
    a->setVisible(used);
    a->setChecked(used && static_cast<int>(i) == dst.checked);
  }
  KeepInMenu(m.destination, m.destinations);

  for (std::size_t i = 0; i < m.ports.size(); ++i) {
    const QString device = QString::fromStdString(view.portDevices[i]);
    m.ports[i]->setText(QString("COM&%1  (%2)").arg(i + 1).arg(device));
    m.ports[i]->setChecked(static_cast<int>(i) + 1 == state.serialPort);
  }
  m.portDevice->setText(QString("&Device for COM%1...").arg(state.serialPort));

  m.hexDump->setVisible(view.debugMode);
  m.hexDump->setChecked(state.hexDumpVisible);
  m.changedOnly->setChecked(state.programChangedOnly);
  m.helpContents->setEnabled(view.helpAvailable);
}

void DrawEditSteps(MainMenus& m, const EditHistory& history) {
  const auto draw = [](QAction* action, const QString& caption, bool enabled, const std::string& name) {
    action->setEnabled(enabled);
    QString step = QString::fromStdString(name);
    action->setText(step.isEmpty() ? caption : caption + " " + step.replace("&", "&&"));
  };
  draw(m.editUndo, "&Undo", history.CanUndo(), history.UndoName());
  draw(m.editRedo, "&Redo", history.CanRedo(), history.RedoName());
}

}  // namespace qm47
