#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>

#include "editor/csv_commands.h"
#include "editor/entry_events.h"
#include "files/data_folder.h"
#include "gui/about_box.h"
#include "gui/channel_list_page.h"
#include "gui/channel_page.h"
#include "gui/directory_entry_page.h"
#include "gui/directory_list_page.h"
#include "gui/page_widgets.h"
#include "gui/port_device_dialog.h"
#include "gui/radio_dialog.h"
#include "gui/report_printing.h"
#include "gui/report_window.h"
#include "gui/review_dialog.h"
#include "gui/settings_page.h"
#include "gui/status_hints.h"
#include "gui/weather_page.h"
#include "platform/qt_serial_line.h"
#include "platform/serial_ports.h"

namespace qm47 {

namespace {

// 9105 x 6660 twips at 96 dots per inch: the window opens at its smallest size.
constexpr int kMinimumWidth = 607;
constexpr int kMinimumHeight = 444;
constexpr int kTreeSharePercent = 30;

QString Lines(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent),
      s_(session),
      commands_(session, *this, [this] { return ValidatePendingEntry(); }),
      pageContext_{session, commands_, tree_, [this](const std::string& key) { SelectNode(key); },
                   [this](const QString& hint) { SetHint(hint); }, [this] { return ValidatePendingEntry(); }} {
  setObjectName("frmMain");
  BuildLayout();
  RegisterPages();
  menus_ = BuildMainMenus(*this, JoinPath(s_.dataFolder, "icons/toolbar"));
  ConnectMenus();

  newTimer_.setSingleShot(true);
  newTimer_.setInterval(100);
  connect(&newTimer_, &QTimer::timeout, this, [this] { Run([this] { commands_.NewTimerFired(); }); });
  observer_ = s_.Observe([this](const RecordChange& change) { OnRecordChanged(change); });
  qApp->installEventFilter(this);

  resize(kMinimumWidth, kMinimumHeight);
  setMinimumSize(kMinimumWidth, kMinimumHeight);
}

MainWindow::~MainWindow() {
  // The children go after this body; focus moving between them must not reach a half-gone window.
  disconnect(qApp, nullptr, this, nullptr);
  qApp->removeEventFilter(this);
  s_.Forget(observer_);
}

void MainWindow::RegisterPages() {
  pages_->Register(PageKind::ChannelList, new ChannelListPage(pageContext_));
  pages_->Register(PageKind::Channel, new ChannelPage(pageContext_));
  pages_->Register(PageKind::Weather, new WeatherPage(pageContext_));
  pages_->Register(PageKind::Usable,
                   new SettingsPage(pageContext_, PageKind::Usable, "picUsable", "Usable CH Group Setup"));
  pages_->Register(PageKind::Common, new SettingsPage(pageContext_, PageKind::Common, "picCommon", "Common Setup"));
  pages_->Register(PageKind::Dsc, new SettingsPage(pageContext_, PageKind::Dsc, "picDsc", "DSC Setup"));
  pages_->Register(PageKind::Atis, new SettingsPage(pageContext_, PageKind::Atis, "picAtis", "ATIS Setup"));
  pages_->Register(PageKind::DirectoryList, new DirectoryListPage(pageContext_));
  pages_->Register(PageKind::DirectoryEntry, new DirectoryEntryPage(pageContext_));
}

void MainWindow::BuildLayout() {
  treeView_ = new NavigationView;
  pages_ = new PageArea;

  hex_ = new QPlainTextEdit;
  hex_->setObjectName("txtHex");
  hex_->setAccessibleName("Hex dump");
  hex_->setReadOnly(true);
  hex_->setLineWrapMode(QPlainTextEdit::NoWrap);
  hex_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  hex_->hide();

  rightSide_ = new QSplitter(Qt::Vertical);
  rightSide_->setObjectName("splPages");
  rightSide_->addWidget(pages_);
  rightSide_->addWidget(hex_);
  rightSide_->setChildrenCollapsible(false);
  rightSide_->setStretchFactor(0, 1);
  rightSide_->setStretchFactor(1, 1);

  splitter_ = new QSplitter(Qt::Horizontal);
  splitter_->setObjectName("splTree");
  splitter_->addWidget(treeView_);
  splitter_->addWidget(rightSide_);
  splitter_->setChildrenCollapsible(false);
  setCentralWidget(splitter_);

  statusBar()->setObjectName("sbStatusBar");
  statusBar()->setAccessibleName("Status Bar");
  hint_ = new QLabel;
  hint_->setObjectName("sbStatusBar_0");
  hint_->setTextInteractionFlags(Qt::NoTextInteraction);
  statusBar()->addWidget(hint_, 1);

  connect(treeView_, &QTreeWidget::currentItemChanged, this, [this] { OnCurrentItemChanged(); });
  connect(treeView_, &QTreeWidget::itemClicked, this, [this] { SetHint(hints::kNavigation); });
  connect(treeView_, &QTreeWidget::itemExpanded, this, &MainWindow::OnItemExpanded);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == treeView_) SetHint(hints::kNavigation);
  });
}

void MainWindow::ConnectMenus() {
  const auto on = [this](QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
  };
  on(menus_.fileNew, [this] { commands_.New(); });
  on(menus_.fileOpen, [this] { commands_.Open(); });
  on(menus_.fileOpenBackup, [this] { commands_.OpenBackup(); });
  on(menus_.fileSave, [this] { commands_.Save(); });
  on(menus_.fileSaveAs, [this] { commands_.SaveAs(); });
  on(menus_.fileExportCsv, [this] { ExportListCommand(s_, pages_->shown(), [this] { return ValidatePendingEntry(); }); });
  on(menus_.fileImportCsv, [this] {
    if (ImportListCommand(s_, pages_->shown(), [this] { return ValidatePendingEntry(); })) ShowCurrentPageAgain();
  });
  on(menus_.filePrint, [this] { commands_.Print(); });
  on(menus_.filePrintPreview, [this] { commands_.PrintPreview(); });
  on(menus_.filePrintToFile, [this] { commands_.PrintToFile(); });
  connect(menus_.fileExit, &QAction::triggered, this, &QWidget::close);
  on(menus_.editUndo, [this] { commands_.Undo(); });
  on(menus_.editRedo, [this] { commands_.Redo(); });
  for (int i = 0; i < kMaxModels; ++i) on(menus_.models[static_cast<std::size_t>(i)], [this, i] { commands_.SelectModel(i); });
  on(menus_.transferProgram, [this] { commands_.ProgramToRadio(); });
  on(menus_.transferRead, [this] { commands_.ReadFromRadio(); });
  for (int i = 0; i < kDestinationEntries; ++i) {
    on(menus_.destinations[static_cast<std::size_t>(i)], [this, i] { commands_.SelectDestination(i); });
  }
  for (int n = 1; n <= kPortEntries; ++n) {
    on(menus_.ports[static_cast<std::size_t>(n - 1)], [this, n] { commands_.SelectSerialPort(n, isVisible()); });
  }
  on(menus_.portDevice, [this] { ChoosePortDevice(); });
  on(menus_.hexDump, [this] { commands_.ToggleHexDump(); });
  on(menus_.backups, [this] { commands_.OpenBackupsFolder(); });
  on(menus_.helpContents, [this] { commands_.Contents(QFileInfo::exists(QString::fromStdString(HelpPath(kContentsHelpTopic)))); });
  on(menus_.helpAbout, [this] { ShowAbout(); });
}

void MainWindow::Load() {
  commands_.Load();
  DrawMenus();
}

// Every command may change menus, the port or the hex dump: they are drawn again after it.
void MainWindow::Run(const std::function<void()>& command) {
  command();
  DrawMenus();
}

void MainWindow::DrawMenus() {
  MenuView view;
  view.models = ModelMenuFor(s_.catalogue, s_.model.number);
  view.state = &commands_.state();
  for (int n = 1; n <= kPortEntries; ++n) view.portDevices[static_cast<std::size_t>(n - 1)] = PortDevice(s_.prefs, n);
  view.debugMode = s_.startup.debugMode;
  view.helpAvailable = QFileInfo::exists(QString::fromStdString(HelpPath(kContentsHelpTopic)));
  qm47::DrawMenus(menus_, view);
  DrawEditSteps(menus_, s_.history);

  const bool hexShown = commands_.state().hexDumpVisible;
  if (hexShown == hex_->isHidden()) {
    hex_->setVisible(hexShown);
    DrawHexDump();
  }
}

std::string MainWindow::HelpPath(int topic) const { return HelpFilePath(s_.dataFolder, topic); }

bool MainWindow::ValidatePendingEntry() {
  EntryWindowState window = pages_->PendingEntry();
  window.programTitle = s_.model.title;
  const EntryOutcome out = qm47::ValidatePendingEntry(window);
  if (out.store) {
    s_.Edit(record_area::All, [&](SettingsRecord& rec) { StoreEntry(rec, out.store->place, out.store->value); });
  }
  if (out.edited) s_.flags.dirty = true;
  pages_->ApplyEntry(out);
  for (const EntryMessage& m : out.messages) s_.ui.Message(m.text, m.caption, m.icon, m.buttons);
  if (out.hint) SetHint(QString::fromStdString(*out.hint));
  if (out.statusNamesChanged) SyncTree();
  return out.valid;
}

// ---- tree and pages ----

void MainWindow::SyncTree() {
  const TreeChange change = RefreshTree(tree_, s_.record, s_.model);
  if (!change.rebuilt) {
    treeView_->UpdateTexts(tree_, change.texts);
    return;
  }
  treeView_->Fill(tree_);
  treeView_->SelectQuietly(selection_.Follow(tree_));
}

void MainWindow::RebuildTree() { SyncTree(); }

void MainWindow::OnCurrentItemChanged() {
  SetHint(hints::kNavigation);
  const int index = NavigationView::IndexOf(treeView_->currentItem());
  Apply(selection_.Click(tree_, index, [this] { return ValidatePendingEntry(); }));
}

void MainWindow::SelectNode(const std::string& key) {
  SetHint(hints::kNavigation);
  Apply(selection_.SelectNode(tree_, key, [this] { return ValidatePendingEntry(); }));
}

void MainWindow::Apply(NodeSelection::Step step) {
  if (step.action == NodeSelection::Action::None) return;
  treeView_->SelectQuietly(step.index);
  if (step.action == NodeSelection::Action::Show) ShowNodePage(step.index);
  // A mouse click sets the tree's own selection after this handler returns (a refusal's
  // message box runs in between): select the current node again once it has.
  if (step.action == NodeSelection::Action::Reselect) {
    QTimer::singleShot(0, treeView_, [this, index = step.index] { treeView_->SelectQuietly(index); });
  }
}

void MainWindow::ShowCurrentPageAgain() {
  const int current = selection_.Current();
  if (current >= 1 && current <= tree_.size()) ShowNodePage(current);
}

void MainWindow::ShowNodePage(int index) {
  s_.flags.cancel = true;
  if (isMinimized()) return;
  // Filling the controls is no edit.
  const bool dirty = s_.flags.dirty;
  s_.history.SetPlace(NodeName(tree_, index));
  pages_->Show(tree_.at(index).page, s_.flags.pageLoading);
  SetHint(hints::kNavigation);
  s_.flags.cancel = false;
  s_.flags.dirty = dirty;
}

void MainWindow::OnItemExpanded(QTreeWidgetItem* item) {
  const int index = NavigationView::IndexOf(item);
  if (index < 1) return;
  const PageRef& page = tree_.at(index).page;
  if (page.kind == PageKind::DirectoryList) {
    treeView_->UpdateTexts(tree_, RefreshDirectoryMarks(tree_, s_.record, page.directory));
  }
}

void MainWindow::SetHint(const QString& hint) { hint_->setText(hint); }

// ---- record changes ----

void MainWindow::OnRecordChanged(const RecordChange& change) {
  SyncTree();
  DrawHexDump();
  DrawEditSteps(menus_, s_.history);
  // A change from the page itself is already on it; any other one is drawn again.
  if (!change.byUser) pages_->Show(pages_->shown(), s_.flags.pageLoading);
}

void MainWindow::DrawHexDump() {
  if (hex_->isHidden()) return;
  const int top = hex_->verticalScrollBar()->value();
  hex_->setPlainText(Lines(commands_.HexDump()));
  hex_->verticalScrollBar()->setValue(top);
}

// ---- the view's other duties ----

void MainWindow::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void MainWindow::StartNewTimer() { newTimer_.start(); }

TransferOutcome MainWindow::RunTransferDialog(const TransferJob& job) {
  const int port = commands_.state().serialPort;
  const std::string device = PortDevice(s_.prefs, port);
  const std::unique_ptr<SerialLine> line =
      transferLine_.open ? transferLine_.open(device) : std::make_unique<QtSerialLine>(device);
  RadioDialog dialog(s_, job, SerialPortText(port, device), *line, transferLine_.clock, this);
  dialog.exec();
  return dialog.outcome();
}

bool MainWindow::ReviewChanges(const std::vector<SettingChange>& changes) {
  ReviewDialog dialog(changes, this);
  return dialog.exec() == QDialog::Accepted;
}

bool MainWindow::OpenFolder(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool MainWindow::PrinterInstalled() const { return qm47::PrinterInstalled(); }

void MainWindow::PrintReport(const std::vector<PrintPage>& pages) { PrintReportPages(pages, this); }

void MainWindow::PreviewReport(const std::vector<PrintPage>& pages) { PreviewReportPages(pages, this); }

std::string MainWindow::ReportPdf(const std::vector<PrintPage>& pages) { return qm47::ReportPdf(pages).toStdString(); }

void MainWindow::OpenReportWindow() {
  auto* window = new ReportWindow(s_, this);
  reportWindows_.emplace_back(window);
  window->show();
}

void MainWindow::ChoosePortDevice() {
  const int number = commands_.state().serialPort;
  PortDeviceDialog dialog(number, PortDevice(s_.prefs, number), ListSerialPorts(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  s_.prefs.Save(kPortSection, PortDeviceKey(number), dialog.Device());
  DrawMenus();
}

bool MainWindow::OpenHelp(int topic) {
  const HelpLocation help = HelpFor(s_.dataFolder, topic);
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(help.file));
  if (!help.anchor.empty()) url.setFragment(QString::fromStdString(help.anchor));
  if (QDesktopServices::openUrl(url)) return true;
  s_.SayWhy("The help viewer could not be started.", "Open " + help.file + " in a web browser.", Icon::Exclamation);
  return false;
}

void MainWindow::ShowAbout() {
  AboutBox about(s_, this);
  about.exec();
}

// ---- window events ----

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!commands_.CanClose()) {
    event->ignore();
    return;
  }
  StoreGeometry();
  for (const auto& window : reportWindows_) {
    if (window) window->close();
  }
  event->accept();
}

void MainWindow::StoreGeometry() {
  if (isMinimized()) return;
  const QRect r = frameGeometry();
  const int dpi = DotsPerInch(*this);
  const auto twips = [dpi](int pixels) { return std::to_string(pixels * kTwipsPerInch / dpi); };
  s_.prefs.Save("Settings", "MainLeft", twips(r.x()));
  s_.prefs.Save("Settings", "MainTop", twips(r.y()));
  s_.prefs.Save("Settings", "MainWidth", twips(r.width()));
  s_.prefs.Save("Settings", "MainHeight", twips(r.height()));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int tree = width() * kTreeSharePercent / 100;
  splitter_->setSizes({tree, width() - tree});
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (logoLoaded_) return;
  logoLoaded_ = true;
  pages_->LoadLogo(JoinPath(s_.dataFolder, "QL Logo.gif"));
}

namespace {

// The help context number of a control, or of the frame it sits in; 0 for none.
int HelpContextOf(const QWidget* widget) {
  for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
    if (const int context = widget->property(FocusHints::kHelpContext).toInt()) return context;
  }
  return 0;
}

}  // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // F1 on a control that has a help context opens its section instead of the contents.
  if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
    const int context = HelpContextOf(widget);
    if (!context) return false;
    if (event->type() == QEvent::ShortcutOverride) {
      key->accept();  // the key then comes as a key press, not as the Contents shortcut
    } else {
      Run([this, context] { commands_.Contents(QFileInfo::exists(QString::fromStdString(HelpPath(kContentsHelpTopic))), context); });
    }
    return true;
  }
  if (event->type() == QEvent::ShortcutOverride) {
    if (!WindowTakesUndoKey(widget, *key)) return false;
    event->ignore();  // not the box's: the key reaches Edit > Undo or Redo
    return true;
  }
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
  const Qt::KeyboardModifiers mods = key->modifiers();
  const ImageChord chord =
      ImageChordFor(s_.startup.debugMode, mods.testFlag(Qt::ControlModifier), mods.testFlag(Qt::ShiftModifier),
                    mods.testFlag(Qt::AltModifier), key->key() == Qt::Key_F2, key->key() == Qt::Key_F3);
  if (chord == ImageChord::None) return false;
  Run([this, chord] { chord == ImageChord::Open ? commands_.OpenImage() : commands_.SaveImage(); });
  return true;
}

// A text box keeps Ctrl+Z and Ctrl+Y for its own typing while that is still being typed
// (not yet checked and stored): what a user takes back first is the last keys. Once the
// box was left, or when it holds nothing typed, the keys undo the window's steps as
// anywhere else in the window.
bool MainWindow::WindowTakesUndoKey(QWidget* focus, const QKeyEvent& key) const {
  const auto* box = qobject_cast<QLineEdit*>(focus);
  if (!box || box->isReadOnly()) return false;  // the box leaves the key to the window anyway
  const bool undo = key.matches(QKeySequence::Undo);
  if (!undo && !menus_.editRedo->shortcuts().contains(QKeySequence(key.keyCombination()))) return false;
  const EntryWindowState page = pages_->PendingEntry();
  const bool typing = page.focus && page.focus->pending;
  return !(typing && (undo ? box->isUndoAvailable() : box->isRedoAvailable()));
}

}  // namespace qm47
