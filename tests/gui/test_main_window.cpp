// The main window through its real widgets: controls found by name, the user scripted.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableWidget>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

#include "window_rig.h"

namespace qm47::testing {
namespace {

// Models 1 and 2 have ATIS, model 3 has not.
constexpr const char* kThreeModels =
    "[model1]\nuse=1\natis=1\n[model2]\nuse=1\natis=1\n[model3]\nuse=1\natis=0\n";
constexpr const char* kOneModel = "[model1]\nuse=1\natis=1\n[model2]\nuse=0\n";

QTreeWidgetItem* TopLevel(QTreeWidget* tree, const QString& text) {
  const auto found = tree->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

void Click(QTreeWidget* tree, QTreeWidgetItem* item) {
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

TEST(MainWindowTree, ClickOnANodeShowsItsPageWithTheNavigationHint) {
  WindowRig rig(kThreeModels, 1);
  auto* pages = rig.Find<QStackedWidget>("pages");
  auto* general = rig.Find<QWidget>("picGeneral");
  auto* blank = rig.Find<QWidget>("picBlank");
  ASSERT_TRUE(pages && general && blank);
  EXPECT_EQ(pages->currentWidget(), general) << "the window starts on General";

  Click(rig.Tree(), TopLevel(rig.Tree(), "Usable Channel"));
  EXPECT_EQ(pages->currentWidget(), blank);
  EXPECT_TRUE(blank->isEnabled());
  EXPECT_FALSE(general->isEnabled()) << "only the page in front is enabled";
  EXPECT_EQ(rig.Find<QLabel>("sbStatusBar_0")->text(), "[Up]/[Down]/[Left]/[Right]:Change of a Selection item.");

  Click(rig.Tree(), TopLevel(rig.Tree(), "General"));
  EXPECT_EQ(pages->currentWidget(), general);
  EXPECT_TRUE(general->isEnabled());
}

// A node's children are made when it first opens, with the texts the record holds then.
TEST(MainWindowTree, ANodeOpenedByKeyShowsItsChildrenAsTheRecordIsThen) {
  WindowRig rig(kThreeModels, 1);
  QTreeWidgetItem* usa = rig.Tree()->findItems("USA", Qt::MatchExactly | Qt::MatchRecursive).value(0);
  ASSERT_TRUE(usa && !usa->isExpanded());
  const bool was = rig.session.record.GroupTable(kUSA)[0].Enable;
  rig.session.Edit(record_area::Channels, [&](SettingsRecord& rec) { rec.GroupTable(kUSA)[0].Enable = !was; });

  rig.Tree()->setCurrentItem(usa);
  Focus(rig.Tree());
  QTest::keyClick(rig.Tree(), Qt::Key_Right);
  ASSERT_TRUE(usa->isExpanded()) << "a node not yet opened still offers to open";
  ASSERT_EQ(usa->childCount(), static_cast<int>(rig.session.record.GroupTable(kUSA).size()));
  EXPECT_EQ(usa->child(0)->text(0).endsWith("[Enable]"), !was);
}

// With no size remembered, every column of a channel list and every label of the tree
// are in view, at whatever size the platform's font makes them.
TEST(MainWindowGeometry, FirstStartShowsTheGridsLastColumnAndEveryTreeLabel) {
  WindowRig rig(kThreeModels, 1);
  EXPECT_GE(rig.window->width(), 607);
  EXPECT_GE(rig.window->height(), 444);

  rig.window->SelectNode("PU");
  QApplication::processEvents();
  auto* grid = rig.Find<QTableWidget>("MSFlexGrid1");
  ASSERT_TRUE(grid && grid->isVisible());
  EXPECT_EQ(grid->horizontalHeaderItem(grid->columnCount() - 1)->text(), "CH Name");
  EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width()) << "CH Name lies behind a scroll bar";

  // Opened node by node, as a user opens them: each makes its children.
  for (QTreeWidgetItemIterator it(rig.Tree()); *it; ++it) (*it)->setExpanded(true);
  QApplication::processEvents();
  EXPECT_EQ(rig.Tree()->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive).size(), BuildTree(rig.session.record, rig.session.model).size()) << "every node made";
  const QAbstractItemView& tree = *rig.Tree();
  EXPECT_LE(tree.sizeHintForColumn(0), tree.viewport()->width()) << "a tree label is cut";
}

TEST(MainWindowGeometry, LaterStartsTakeTheLastSizeAndDividerAndTheOldTwipsOnlyOnce) {
  WindowRig rig(kThreeModels, 1);
  // Closed last by a version that kept the window's frame in twips: 15 to a pixel at 96 dpi.
  ASSERT_EQ(rig.window->logicalDpiX(), 96) << "the offscreen platform's";
  for (const auto& [key, twips] : {std::pair{"MainLeft", "450"}, std::pair{"MainTop", "300"},
                                   std::pair{"MainWidth", "10500"}, std::pair{"MainHeight", "7500"}}) {
    rig.prefs.Save("Settings", key, twips);
  }
  rig.window = std::make_unique<MainWindow>(rig.session);
  EXPECT_EQ(rig.window->size(), QSize(700, 500));

  rig.window->show();
  rig.window->resize(760, 560);
  auto* divider = rig.Find<QSplitter>("splTree");
  divider->setSizes({300, divider->width() - divider->handleWidth() - 300});
  emit divider->splitterMoved(300, 1);  // as a drag ends
  EXPECT_TRUE(rig.window->close());
  for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
    EXPECT_EQ(rig.prefs.Get("Settings", key, "unset"), "") << key << " is read once, then replaced";
  }

  rig.window = std::make_unique<MainWindow>(rig.session);
  EXPECT_EQ(rig.window->size(), QSize(760, 560));
  rig.window->show();
  QApplication::processEvents();
  EXPECT_NEAR(rig.Find<QSplitter>("splTree")->sizes().at(0), 300, 3);
}

// The window is on the screen before the model's new image and its destination are set
// up, whose waits would hold back its first frame; the load follows it, once.
TEST(MainWindowStart, TheFirstFrameComesBeforeTheLoad) {
  EnsureApplication();
  TempDir dir{"start"};
  MemoryPreferenceStore prefs;
  RecordingUi ui;
  Session session(dir.path().string(), IniFile::Parse(kOneModel), prefs, ui, StartupFlags{}, ErrorLog("", false));
  SetModel(session, 1);
  MainWindow window(session);
  QSignalSpy loaded(&window, &MainWindow::loaded);
  window.ShowThenLoad();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.tree().topLevelItemCount(), 0) << "the load ran before the first frame";
  ASSERT_TRUE(loaded.wait(500)) << "the load waited for its fallback, not for the first frame";
  EXPECT_GT(window.tree().topLevelItemCount(), 0);
  QTest::qWait(50);
  EXPECT_EQ(loaded.count(), 1);
}

// "Data Error!!" alone does not say what went wrong: the line under it names the field,
// its rule and a value it takes, and the field keeps the focus with the typing selected.
TEST(MainWindowEntry, ARefusedEntrySaysWhichFieldAndWhyAndKeepsItsTextSelected) {
  WindowRig rig(kOneModel, 1);
  rig.window->SelectNode("DSC");
  auto* mmsi = rig.Find<QLineEdit>("txtUserMMSI");
  ASSERT_TRUE(mmsi);
  const std::string rule = "UserMMSI: exactly 9 digits, for example 366123456; empty for none.";
  EXPECT_EQ(mmsi->toolTip().toStdString(), rule) << "said before the typing, too";
  Focus(mmsi);
  QTest::keyClicks(mmsi, "12345");
  QTest::keyClick(mmsi, Qt::Key_Tab);
  QTest::qWait(0);
  ASSERT_EQ(rig.ui.Texts(), std::vector<std::string>{"Data Error!!"});
  EXPECT_EQ(rig.ui.shown.front().detail, rule);
  EXPECT_TRUE(mmsi->hasFocus());
  // The focus comes back once the message box has gone: a busy machine takes a moment.
  EXPECT_TRUE(QTest::qWaitFor([&] { return mmsi->selectedText() == "12345"; }, 2000)) << mmsi->selectedText().toStdString();
}

// The data folder holds neither icons/ nor anything else: the pictures are in the program.
TEST(MainWindowPictures, ToolBarAndWindowHaveTheirPicturesWithAnEmptyDataFolder) {
  WindowRig rig(kOneModel, 1);
  ASSERT_FALSE(std::filesystem::exists(rig.dir.path() / "icons"));
  for (const char* key : {"New", "Open", "Save", "SaveAsDefault", "Print", "Program", "Read"}) {
    auto* button = rig.Find<QToolButton>((std::string("tbToolBar_") + key).c_str());
    ASSERT_TRUE(button) << key;
    EXPECT_FALSE(button->icon().pixmap(24).isNull()) << key;
  }
  EXPECT_FALSE(rig.window->windowIcon().pixmap(32).isNull());
}

// The logo is kept in fewer bytes where its colours allow, never with fewer colours.
TEST(MainWindowPictures, TheLogoIsDrawnWithEveryColourOfItsFile) {
  WindowRig rig(kOneModel, 1);
  for (const int colours : {2, 400}) {
    QImage logo(40, 10, QImage::Format_RGB32);
    for (int i = 0; i < 400; ++i) logo.setPixel(i % 40, i / 40, qRgb(i % colours % 256, i % colours / 256, 7));
    ASSERT_TRUE(logo.save(QString::fromStdString((rig.dir.path() / "QL Logo.gif").string()), "PNG"));
    rig.window = std::make_unique<MainWindow>(rig.session);
    rig.window->Load();
    rig.window->show();
    auto* view = rig.Find<QLabel>("imgLogo");
    ASSERT_TRUE(view && view->isVisible());
    QRect place(QPoint(), logo.size());
    place.moveCenter(view->contentsRect().center());
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(place), logo) << colours << " colours";
  }
}

// The title carries Qt's unsaved-changes mark, drawn from the dirty flag: the first key
// typed raises it, before anything is stored; a command that lets the edits go clears it.
// Closing with edits asks first, and the geometry is stored only once the window closes.
TEST(MainWindowCaption, MarksUnsavedChangesFromTheFirstKeyUntilTheyAreLetGoAndClosingAsks) {
  WindowRig rig(kThreeModels, 1);
  EXPECT_EQ(rig.window->windowTitle(), "QM47  PC Program for TK4100A[*]");
  EXPECT_FALSE(rig.window->isWindowModified());

  rig.window->SelectNode("DSC");
  auto* mmsi = rig.Find<QLineEdit>("txtUserMMSI");
  ASSERT_NE(mmsi, nullptr);
  Focus(mmsi);
  QTest::keyClicks(mmsi, "366123456");
  QApplication::processEvents();
  EXPECT_EQ(rig.session.record.DscBasic.UserMmsi, "") << "stored only when the box is left";
  EXPECT_TRUE(rig.window->isWindowModified());

  const std::string question = "KVX data has changed.\nDo you want to save changes?";
  rig.ui.answers = {Answer::Cancel};
  EXPECT_FALSE(rig.window->close());
  EXPECT_EQ(rig.ui.Texts(), std::vector<std::string>{question});
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_EQ(rig.prefs.Get("Settings", "MainGeometry", ""), "") << "no geometry stored while the window stays";

  // Saved, the mark goes; closing still asks, as saving leaves the dirty flag.
  rig.ui.files = {rig.dir / "boat.dat"};
  rig.Find<QAction>("mnuFileSaveAs")->trigger();
  EXPECT_FALSE(rig.window->isWindowModified());
  ASSERT_EQ(rig.ui.Texts(), std::vector<std::string>{question});

  rig.ui.answers = {Answer::No};
  rig.Find<QAction>("mnuFileNew")->trigger();
  EXPECT_EQ(rig.ui.Texts(), (std::vector<std::string>{question, question}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.session.flags.dirty; }, 2000));  // New runs after 100 ms
  EXPECT_FALSE(rig.window->isWindowModified());

  rig.session.Edit(record_area::Common, [](SettingsRecord& rec) { rec.CommonSetup.Rotary = !rec.CommonSetup.Rotary; });
  rig.ui.answers = {Answer::No};
  EXPECT_TRUE(rig.window->close());
  EXPECT_EQ(rig.ui.Texts(), std::vector<std::string>(3, question));
  EXPECT_NE(rig.prefs.Get("Settings", "MainGeometry", ""), "");
}

// A menu entry that asks first stays unticked until the answer, and after a No.
TEST(MainWindowMenus, AModelChosenIsTickedOnlyOnceTheChangeIsMade) {
  WindowRig rig(kThreeModels, 1);
  auto* first = rig.Find<QAction>("mnuModel_0");
  auto* second = rig.Find<QAction>("mnuModel_1");
  ASSERT_TRUE(first && second && first->isChecked());
  std::vector<bool> ticks;
  rig.ui.onShow = [&] { ticks = {first->isChecked(), second->isChecked()}; };
  rig.ui.answers = {Answer::Cancel};
  second->trigger();
  ASSERT_EQ(rig.ui.shown.size(), 1u);
  EXPECT_EQ(ticks, (std::vector<bool>{true, false})) << "while " << rig.ui.shown[0].text << " is asked";
  EXPECT_TRUE(first->isChecked());
  EXPECT_FALSE(second->isChecked());
}

TEST(MainWindowMenus, ModelMenuOnlyWithTwoOrMoreModels) {
  {
    WindowRig rig(kOneModel, 1);
    EXPECT_FALSE(rig.Find<QMenu>("mnuEditModel")->menuAction()->isVisible());
    EXPECT_TRUE(rig.Find<QMenu>("mnuEdit")->menuAction()->isVisible()) << "Undo and Redo are always there";
  }
  WindowRig rig(kThreeModels, 3);
  EXPECT_TRUE(rig.Find<QMenu>("mnuEditModel")->menuAction()->isVisible());
  QStringList shown;
  QString checked;
  for (QAction* a : rig.Find<QMenu>("mnuEditModel")->actions()) {
    if (!a->isVisible()) continue;
    shown << a->text();
    if (a->isChecked()) checked = a->text();
  }
  EXPECT_EQ(shown, QStringList({"TK4100A", "TK520B", "TK7100C"}));
  EXPECT_EQ(checked, "TK7100C");
}

TEST(MainWindowKeys, CtrlF3SavesTheImageOnlyInDebugMode) {
  {
    WindowRig rig(kThreeModels, 1, /*debug=*/false);
    QTest::keyClick(rig.Tree(), Qt::Key_F3, Qt::ControlModifier);
    EXPECT_TRUE(rig.ui.fileChoices.empty()) << "outside debug mode Ctrl+F3 does nothing";
  }
  WindowRig rig(kThreeModels, 1, /*debug=*/true);
  QTest::keyClick(rig.Tree(), Qt::Key_F3, Qt::ControlModifier);
  ASSERT_EQ(rig.ui.fileChoices.size(), 1u);
  EXPECT_EQ(rig.ui.fileChoices.front().mode, FileChoice::Mode::Save);
  EXPECT_EQ(rig.ui.fileChoices.front().filter, "hex files(*.hex)|*.hex|All files(*.*)|*.*");
}

TEST(MainWindowMenus, DeviceForAPortIsChosenInADialogAndShownInTheMenu) {
  WindowRig rig(kOneModel, 1);
  rig.Find<QAction>("mnuCOM_2")->trigger();
  // The dialog is modal: the user types once it is up.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    auto* device = dialog ? dialog->findChild<QComboBox*>("cmbPortDevice") : nullptr;
    if (!device) {
      // Fail now: a dialog left open would wait for the test's time-out.
      ADD_FAILURE() << "no port device dialog";
      if (dialog) dialog->reject();
      return;
    }
    device->setEditText("  /tmp/qm47-radio ");
    dialog->accept();
  });
  rig.Find<QAction>("mnuOptionsPortDevice")->trigger();
  EXPECT_EQ(rig.prefs.Get("ComPath", "Port2", ""), "/tmp/qm47-radio");
  EXPECT_EQ(rig.Find<QAction>("mnuCOM_2")->text(), "COM&2  (/tmp/qm47-radio)");
  EXPECT_EQ(rig.Find<QAction>("mnuOptionsPortDevice")->text(), "&Device for COM2...");
}

}  // namespace
}  // namespace qm47::testing
