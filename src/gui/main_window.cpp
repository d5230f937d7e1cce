#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <span>

#include "editor/pages/channel_grid.h"
#include "editor/lists/csv_commands.h"
#include "editor/pages/directory_pages.h"
#include "editor/pages/entry_apply.h"
#include "editor/pages/entry_events.h"
#include "editor/pages/page_fill.h"
#include "editor/session/window_place.h"
#include "files/data_folder.h"
#include "gui/about_box.h"
#include "gui/channel_list_page.h"
#include "gui/channel_page.h"
#include "gui/directory_entry_page.h"
#include "gui/directory_list_page.h"
#include "gui/page_widgets.h"
#include "gui/png_icon.h"
#include "gui/port_device_dialog.h"
#include "gui/radio_dialog.h"
#include "gui/report_printing.h"
#include "gui/report_window.h"
#include "gui/review_dialog.h"
#include "gui/settings_page.h"
#include "gui/status_hints.h"
#include "gui/weather_page.h"
#include "model/fresh_image.h"
#include "platform/qt_serial_line.h"
#include "platform/serial_ports.h"

// Q_INIT_RESOURCE declares the resource's function where it stands: outside every namespace.
// The pictures sit in a static library, whose unreferenced parts the linker would drop.
static void LoadPictures() { Q_INIT_RESOURCE(pictures); }

namespace qm47 {

namespace {

// 9105 x 6660 twips at 96 dots per inch: the window is never smaller.
constexpr int kMinimumWidth = 607;
constexpr int kMinimumHeight = 444;
// If the window system never says the window is on the screen, the load does not wait forever.
constexpr int kLoadAnywayMs = 1000;
// More than any page has: the bound of the window's check over boxes still waiting.
constexpr int kMostBoxesOnAPage = 64;

QString Lines(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

QIcon ProgramIcon() {
  LoadPictures();
  QIcon icon;
  // The sizes a window's frame and task list draw; launchers take the installed icons.
  for (const int size : {16, 32, 48, 64}) AddPng(icon, QString(":/icons/qm47-%1.png").arg(size));
  return icon;
}

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent),
      s_(session),
      commands_(session, *this, [this] { return ValidatePendingEntry(); }),
      pageContext_{session, commands_, tree_, [this](const std::string& key) { SelectNode(key); },
                   [this](const QString& hint) { SetHint(hint); }, [this] { return ValidatePendingEntry(); }} {
  setObjectName("frmMain");
  LoadPictures();
  // The program's icon is the application's (main sets it); a window made without it has its own.
  if (QApplication::windowIcon().isNull()) setWindowIcon(ProgramIcon());
  BuildLayout();
  menus_ = BuildMainMenus(*this, ":/toolbar");
  ConnectMenus();

  newTimer_.setSingleShot(true);
  newTimer_.setInterval(100);
  connect(&newTimer_, &QTimer::timeout, this, [this] { Run([this] { commands_.NewTimerFired(); }); });
  observer_ = s_.Observe([this](const RecordChange& change) { OnRecordChanged(change); });
  qApp->installEventFilter(this);

  setMinimumSize(kMinimumWidth, kMinimumHeight);
  RestoreGeometry();
}

MainWindow::~MainWindow() {
  // The children go after this body; focus moving between them must not reach a half-gone window.
  disconnect(qApp, nullptr, this, nullptr);
  qApp->removeEventFilter(this);
  s_.Forget(observer_);
}

// Each page is built the first time a node shows it: the first frame and the memory of a
// start hold only what the start shows (the general page), and a session builds what it visits.
void MainWindow::RegisterPage(PageKind kind) {
  if (!registered_.insert(kind).second) return;
  Page* page = nullptr;
  switch (kind) {
    case PageKind::ChannelList: page = new ChannelListPage(pageContext_); break;
    case PageKind::Channel: page = new ChannelPage(pageContext_); break;
    case PageKind::Weather: page = new WeatherPage(pageContext_); break;
    case PageKind::Usable:
      page = new SettingsPage(pageContext_, PageKind::Usable, "picUsable", "Usable CH Group Setup");
      break;
    case PageKind::Common: page = new SettingsPage(pageContext_, PageKind::Common, "picCommon", "Common Setup"); break;
    case PageKind::Dsc: page = new SettingsPage(pageContext_, PageKind::Dsc, "picDsc", "DSC Setup"); break;
    case PageKind::Atis: page = new SettingsPage(pageContext_, PageKind::Atis, "picAtis", "ATIS Setup"); break;
    case PageKind::DirectoryList: page = new DirectoryListPage(pageContext_); break;
    case PageKind::DirectoryEntry: page = new DirectoryEntryPage(pageContext_); break;
    case PageKind::None:
    case PageKind::General:
    case PageKind::Blank: return;  // the page area's own
  }
  pages_->Register(kind, page);
}

void MainWindow::BuildLayout() {
  treeView_ = new NavigationView;
  pages_ = new PageArea;

  rightSide_ = new QSplitter(Qt::Vertical);
  rightSide_->setObjectName("splPages");
  rightSide_->addWidget(pages_);
  rightSide_->setChildrenCollapsible(false);
  rightSide_->setStretchFactor(0, 1);

  splitter_ = new QSplitter(Qt::Horizontal);
  splitter_->setObjectName("splTree");
  splitter_->addWidget(treeView_);
  splitter_->addWidget(rightSide_);
  splitter_->setChildrenCollapsible(false);
  setCentralWidget(splitter_);
  // Names for what a screen reader lists of the layout: the panes and their dividers.
  splitter_->setAccessibleName("Tree and page");
  splitter_->handle(1)->setAccessibleName("Divider between tree and page");
  rightSide_->setAccessibleName("Page and hex dump");
  // A dragged divider keeps its share of the width through resizes, and to the next start.
  connect(splitter_, &QSplitter::splitterMoved, this, [this] {
    const QList<int> sizes = splitter_->sizes();
    if (sizes.size() == 2 && sizes[0] + sizes[1] > 0) treeShare_ = static_cast<double>(sizes[0]) / (sizes[0] + sizes[1]);
  });

  statusBar()->setObjectName("sbStatusBar");
  statusBar()->setAccessibleName("Status Bar");
  hint_ = new QLabel;
  hint_->setObjectName("sbStatusBar_0");
  hint_->setTextInteractionFlags(Qt::NoTextInteraction);
  statusBar()->addWidget(hint_, 1);
  if (auto* grip = statusBar()->findChild<QSizeGrip*>()) grip->setAccessibleName("Size grip");

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
    const auto said = ImportListCommand(s_, pages_->shown(), [this] { return ValidatePendingEntry(); });
    if (!said) return;
    ShowCurrentPageAgain();
    // In the hint's own label, which a screen reader lists (a status bar's passing message
    // is only drawn); the next focus hint takes its place.
    SetHint(QString::fromStdString(*said));
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
  on(menus_.changedOnly, [this] { commands_.ToggleProgramChangedOnly(); });
  on(menus_.backups, [this] { commands_.OpenBackupsFolder(); });
  on(menus_.helpContents, [this] { commands_.Contents(QFileInfo::exists(QString::fromStdString(HelpPath(kContentsHelpTopic)))); });
  on(menus_.helpAbout, [this] { ShowAbout(); });
}

void MainWindow::Load() {
  if (loadWhenShown_) LoadLogoOnce();
  loadWhenShown_ = false;
  commands_.Load();
  DrawMenus();
#ifdef __GLIBC__
  // The start's parsing leaves freed pages behind; the session keeps none of them.
  ::malloc_trim(0);
#endif
  emit loaded();
}

void MainWindow::ShowThenLoad() {
  loadWhenShown_ = true;
  show();
  QTimer::singleShot(kLoadAnywayMs, this, [this] {
    if (loadWhenShown_) Load();
  });
}

// Every command may change menus, the port or the hex dump: they are drawn again after it,
// and before it too, as a checkable entry ticks itself when chosen, before any question.
void MainWindow::Run(const std::function<void()>& command) {
  DrawMenus();
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
  setWindowModified(s_.UnsavedChanges());

  const bool hexShown = commands_.state().hexDumpVisible;
  if (hexShown != (hex_ && !hex_->isHidden())) {
    HexDump().setVisible(hexShown);
    DrawHexDump();
  }
}

std::string MainWindow::HelpPath(int topic) const { return HelpFilePath(s_.dataFolder, topic); }

bool MainWindow::ValidatePendingEntry() {
  // Assistive technology sets text into boxes the focus never entered, so more than one
  // may wait: each is checked in turn, the focused one first, until one is refused.
  for (int round = 0; round < kMostBoxesOnAPage; ++round) {
    EntryWindowState window = pages_->PendingEntry();
    if (round > 0 && !(window.focus && window.focus->pending)) break;
    window.programTitle = s_.model.title;
    const EntryOutcome out = qm47::ValidatePendingEntry(window);
    ApplyEntryOutcome(s_, out);  // the tree follows through the session's observers
    pages_->ApplyEntry(out);
    for (const EntryMessage& m : out.messages) s_.ui.Show(m.Box());
    if (out.hint) SetHint(QString::fromStdString(*out.hint));
    if (!out.valid) return false;
  }
  return true;
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
  FillPage(s_, !isMinimized(), NodeName(tree_, index), [&] {
    RegisterPage(tree_.at(index).page.kind);
    pages_->Show(tree_.at(index).page, s_.flags);
    SetHint(hints::kNavigation);
  });
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
  setWindowModified(s_.UnsavedChanges());
  // A change from the page itself is already on it; any other one is drawn again.
  if (!change.byUser) pages_->Show(pages_->shown(), s_.flags);
}

// Built the first time it is shown, which most starts never do: it costs the first frame time and memory.
QPlainTextEdit& MainWindow::HexDump() {
  if (hex_) return *hex_;
  hex_ = new QPlainTextEdit;
  hex_->setObjectName("txtHex");
  hex_->setAccessibleName("Hex dump");
  hex_->setReadOnly(true);
  hex_->setLineWrapMode(QPlainTextEdit::NoWrap);
  hex_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  hex_->hide();
  rightSide_->addWidget(hex_);
  rightSide_->handle(1)->setAccessibleName("Divider between page and hex dump");
  rightSide_->setStretchFactor(1, 1);
  return *hex_;
}

void MainWindow::DrawHexDump() {
  if (!hex_ || hex_->isHidden()) return;
  const int top = hex_->verticalScrollBar()->value();
  hex_->setPlainText(Lines(commands_.HexDump()));
  hex_->verticalScrollBar()->setValue(top);
}

// ---- the view's other duties ----

// "[*]" is where Qt marks unsaved changes (setWindowModified).
void MainWindow::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption) + "[*]"); }

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

ReviewAnswer MainWindow::ReviewChanges(const ProgramReview& review) {
  ReviewDialog dialog(review, this);
  return dialog.Ask();
}

bool MainWindow::OpenFolder(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool MainWindow::PrinterInstalled() const { return qm47::PrinterInstalled(); }

void MainWindow::PrintReport(const std::vector<PrintPage>& pages) { PrintReportPages(pages, this); }

void MainWindow::PreviewReport(const std::vector<PrintPage>& pages) { PreviewReportPages(pages, this); }

std::string MainWindow::ReportPdf(const std::vector<PrintPage>& pages) { return qm47::ReportPdf(pages).toStdString(); }

void MainWindow::OpenReportWindow() {
  // Closed report windows delete themselves; their emptied pointers go.
  std::erase_if(reportWindows_, [](const QPointer<QWidget>& w) { return w.isNull(); });
  auto* window = new ReportWindow(s_, this);
  reportWindows_.emplace_back(window);
  window->show();
}

void MainWindow::ChoosePortDevice() {
  const int number = commands_.state().serialPort;
  PortDeviceDialog dialog(number, PortDevice(s_.prefs, number), ListSerialPorts(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  SetPortDevice(s_.prefs, number, dialog.Device());
  DrawMenus();
}

bool MainWindow::OpenHelp(int topic) {
  if (!help_) help_ = new HelpWindow(this);
  const HelpLocation help = HelpFor(s_.dataFolder, topic);
  if (help_->Show(help)) return true;
  s_.SayWhy("The help viewer could not be started.",
            help.file + " could not be read: check that the data folder holds the help/ that came with QM47.",
            Icon::Exclamation);
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
  StoreWindowPlace(s_.prefs, saveGeometry().toBase64().toStdString(), treeShare_);
}

void MainWindow::RestoreGeometry() {
  const WindowPlace place = StoredWindowPlace(s_.prefs);
  treeShare_ = place.treeShare;
  const QByteArray stored = QByteArray::fromBase64(QByteArray::fromStdString(place.geometry));
  if (!stored.isEmpty() && restoreGeometry(stored)) return;

  if (place.twips) {
    const auto& twips = *place.twips;
    const int dpi = DotsPerInch(*this);
    const auto pixels = [dpi](int value) { return value * dpi / kTwipsPerInch; };
    const QPoint at(pixels(twips[0]), pixels(twips[1]));
    if (QGuiApplication::screenAt(at)) move(at);
    resize(QSize(pixels(twips[2]), pixels(twips[3])).expandedTo(minimumSize()));
    return;
  }
  SizeForFirstStart();
}

namespace {

// A record whose tree and grids hold the longest texts: every group usable, every
// channel and directory entry in use, so every node carries "[Enable]".
SettingsRecord WidestRecord(int model) {
  SettingsRecord rec;
  MemoryImage image;
  NewImageData(rec, image, model);
  for (UsableGroupEntry& group : rec.UsableGroup) group.Usable = true;
  for (int g = kUSA; g <= kEXP; ++g) {
    for (Channel& ch : rec.GroupTable(g)) ch.Enable = true;
  }
  for (auto* entries : {&rec.CHMMSID, &rec.CHGRPID}) {
    for (DirectoryEntry& e : *entries) e.InUse = true;
  }
  return rec;
}

// The widest of `count` texts, text(i) each, on `fm`. Texts that differ only in their
// digits are as wide (digits share one width in the fonts a desktop uses): one of each
// kind is measured.
template <class Text>
QString WidestText(const QFontMetrics& fm, std::size_t count, Text text) {
  std::set<std::string> kinds;
  QString widest;
  int most = -1;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& t = text(i);
    std::string kind = t;
    for (char& c : kind) {
      if (c >= '0' && c <= '9') c = '0';
    }
    if (!kinds.insert(std::move(kind)).second) continue;
    const QString shown = QString::fromStdString(t);
    if (const int width = fm.horizontalAdvance(shown); width > most) {
      most = width;
      widest = shown;
    }
  }
  return widest;
}

// The tree's width with its longest label in view, the vertical scroll bar beside it.
int TreeWidth(const QTreeView& view, const NavigationTree& tree) {
  const QFontMetrics fm(view.font());
  std::map<int, std::vector<const std::string*>> byDepth;
  for (int i = 1; i <= tree.size(); ++i) {
    int depth = 1;  // the top level has its branch mark too
    for (int parent = tree.at(i).parent; parent; parent = tree.at(parent).parent) ++depth;
    byDepth[depth].push_back(&tree.at(i).text);
  }
  int widest = 0;
  for (const auto& [depth, texts] : byDepth) {
    const QString text = WidestText(fm, texts.size(), [&](std::size_t i) -> const std::string& { return *texts[i]; });
    widest = std::max(widest, depth * view.indentation() + fm.horizontalAdvance(text));
  }
  const QStyle& style = *view.style();
  const int textMargins = 2 * (style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
  return widest + textMargins + style.pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view) + 2 * view.frameWidth();
}

// A grid's width with every column as FitGridColumns sizes it (its documented width, or
// its header's or widest cell's as QHeaderView and QTableView measure them), the vertical
// scroll bar beside them. `like` is an item view styled as the grids are; cell(row, column).
template <class Cell>
int GridWidth(const QAbstractScrollArea& like, std::span<const GridColumn> columns, std::size_t rows, Cell cell) {
  const QStyle& style = *like.style();
  const QFontMetrics fm(like.font());
  const int textMargin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &like) + 1;
  int width = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const QString widest = WidestText(fm, rows, [&](std::size_t r) -> const std::string& { return cell(r, c); });
    const int content = fm.horizontalAdvance(widest) + 2 * textMargin + 1;  // and the grid line
    QStyleOptionHeader header;
    header.fontMetrics = fm;
    header.text = QString::fromStdString(columns[c].header);
    const int head = style.sizeFromContents(QStyle::CT_HeaderSection, &header, QSize(), &like).width();
    width += std::max({columns[c].widthTwips * DotsPerInch(like) / kTwipsPerInch, content, head});
  }
  return width + 2 * like.frameWidth() + style.pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &like);
}

}  // namespace

void MainWindow::SizeForFirstStart() {
  const SettingsRecord rec = WidestRecord(s_.model.number);
  const int tree = TreeWidth(*treeView_, BuildTree(rec, s_.model));

  int page = 0;
  for (const ChannelGrid& grid : {PlanChannelGrid(rec, kUSA, s_.model.scrambler), ExpansionChannelGrid(rec, s_.model.scrambler)}) {
    page = std::max(page, GridWidth(*treeView_, grid.columns, grid.rows.size(),
                                    [&](std::size_t r, std::size_t c) -> const std::string& { return grid.rows[r].cells[c]; }));
  }
  for (const Directory which : {Directory::Individual, Directory::Group}) {
    const DirectoryListState grid = DirectoryListFor(rec, which);
    page = std::max(page, GridWidth(*treeView_, grid.columns, grid.rows.size(),
                                    [&](std::size_t r, std::size_t c) -> const std::string& { return grid.rows[r][c]; }));
  }
  // The pages are not built yet: a grid's page keeps at most the style's margins around it.
  const QStyle& style = *this->style();
  page += style.pixelMetric(QStyle::PM_LayoutLeftMargin) + style.pixelMetric(QStyle::PM_LayoutRightMargin) +
          2 * pages_->frameWidth();

  // The divider starts where the tree's labels end, as it once started 2500 twips in.
  const int width = std::max(kMinimumWidth, tree + splitter_->handleWidth() + page);
  QSize size(width, std::max(kMinimumHeight, width * kMinimumHeight / kMinimumWidth));
  if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size());
  size = size.expandedTo(minimumSize());
  treeShare_ = std::clamp(static_cast<double>(tree) / size.width(), kDefaultTreeShare / 2, 1 - kDefaultTreeShare);
  resize(size);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int tree = static_cast<int>(std::lround(width() * treeShare_));
  splitter_->setSizes({tree, width() - tree});
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Shown before its load, the window draws its first frame first: the load brings the logo.
  if (!loadWhenShown_) LoadLogoOnce();
}

void MainWindow::LoadLogoOnce() {
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
  if (loadWhenShown_ && event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) {
    // Handling the expose paints the first frame; the load comes after it, once.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (loadWhenShown_) Load();
        },
        Qt::QueuedConnection);
    return false;
  }
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  // Typing raises the dirty flag before anything is stored: the caption's mark follows
  // once the box has taken the key.
  if (event->type() == QEvent::KeyPress) QTimer::singleShot(0, this, [this] { setWindowModified(s_.UnsavedChanges()); });
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
