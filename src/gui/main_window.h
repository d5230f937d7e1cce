// frmMain: the tree, the page area, menus, tool bar, status bar and the hex dump.
// It draws what the command layer decides and forwards each user action to one call.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSplitter>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "editor/session/main_commands.h"
#include "editor/session/session.h"
#include "editor/pages/tree.h"
#include "gui/help_window.h"
#include "gui/main_menus.h"
#include "gui/navigation_view.h"
#include "gui/page_area.h"
#include "gui/radio_dialog.h"

class QKeyEvent;

namespace qm47 {

// The program's icon in every size it comes in, compiled into the program.
QIcon ProgramIcon();

class MainWindow final : public QMainWindow, public MainWindowView {
  Q_OBJECT

 public:
  // Messages, file dialogs and waits go through the session's user interface.
  explicit MainWindow(Session& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The window's load: the port, the model's new image with its destination, tree and menus.
  void Load();
  // How the program starts: the window is shown first, and the load with its waits runs
  // once the first frame is on the screen.
  void ShowThenLoad();

  MainCommands& commands() { return commands_; }
  NavigationView& tree() { return *treeView_; }
  // The port and clock the transfer dialog runs on (the virtual radio in tests).
  void UseTransferLine(TransferLine line) { transferLine_ = std::move(line); }

  // MainWindowView
  void RebuildTree() override;
  void SelectNode(const std::string& key) override;
  void ShowCurrentPageAgain() override;
  void SetCaption(const std::string& caption) override;
  void StartNewTimer() override;
  TransferOutcome RunTransferDialog(const TransferJob& job) override;
  bool OpenFolder(const std::string& path) override;
  ReviewAnswer ReviewChanges(const ProgramReview& review) override;
  bool PrinterInstalled() const override;
  void PrintReport(const std::vector<PrintPage>& pages) override;
  void PreviewReport(const std::vector<PrintPage>& pages) override;
  std::string ReportPdf(const std::vector<PrintPage>& pages) override;
  void OpenReportWindow() override;
  // The help inside the program, at the topic's page and section.
  bool OpenHelp(int topic) override;
  void ChoosePortDevice();
  void ShowAbout() override;

 signals:
  // The load has run: image, tree and menus are there.
  void loaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Enter is swallowed anywhere in the window; Ctrl+F2 and Ctrl+F3 reach the image commands.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  // The page of `kind`, built and handed to the area unless it is there already.
  void RegisterPage(PageKind kind);
  void ConnectMenus();
  void Run(const std::function<void()>& command);
  void DrawMenus();
  bool ValidatePendingEntry();
  bool WindowTakesUndoKey(QWidget* focus, const QKeyEvent& key) const;
  std::string HelpPath(int topic) const;

  void SyncTree();
  void OnCurrentItemChanged();
  void OnItemExpanded(QTreeWidgetItem* item);
  void Apply(NodeSelection::Step step);
  void ShowNodePage(int index);
  void SetHint(const QString& hint);
  QPlainTextEdit& HexDump();
  void DrawHexDump();
  void OnRecordChanged(const RecordChange& change);
  // The logo of the general page, from the data folder, the first time the window is up.
  void LoadLogoOnce();
  // The last size, place and divider (StoreGeometry keeps them on closing), or the first start's.
  void RestoreGeometry();
  // A size that shows every grid column beside every tree label, the divider between them.
  void SizeForFirstStart();
  void StoreGeometry();

  Session& s_;
  MainCommands commands_;
  NavigationTree tree_;
  NodeSelection selection_;
  PageContext pageContext_;
  int observer_ = -1;

  QSplitter* splitter_ = nullptr;
  QSplitter* rightSide_ = nullptr;
  NavigationView* treeView_ = nullptr;
  PageArea* pages_ = nullptr;
  QPlainTextEdit* hex_ = nullptr;
  QLabel* hint_ = nullptr;
  MainMenus menus_;
  QTimer newTimer_;
  bool logoLoaded_ = false;
  bool loadWhenShown_ = false;
  double treeShare_ = 0;  // the tree's part of the window's width, kept through resizes
  QPointer<HelpWindow> help_;
  std::set<PageKind> registered_;
  std::vector<QPointer<QWidget>> reportWindows_;
  TransferLine transferLine_;
};

}  // namespace qm47
