// The main window through its real widgets: controls found by name, the user scripted.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <QMenu>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

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

TEST(MainWindowClose, EditsAskTheQuestionAndTheGeometryIsStoredOnlyOnClosing) {
  WindowRig rig(kThreeModels, 1);
  rig.session.Edit(record_area::Common, [](SettingsRecord& rec) { rec.CommonSetup.Rotary = !rec.CommonSetup.Rotary; });

  rig.ui.answers = {Answer::Cancel};
  EXPECT_FALSE(rig.window->close());
  EXPECT_EQ(rig.ui.Texts(), std::vector<std::string>{"KVX data has changed.\nDo you want to save changes?"});
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_EQ(rig.prefs.Get("Settings", "MainWidth", ""), "") << "no geometry stored while the window stays";

  rig.ui.answers = {Answer::No};
  EXPECT_TRUE(rig.window->close());
  const int width = rig.window->frameGeometry().width();
  EXPECT_EQ(rig.prefs.Get("Settings", "MainWidth", ""), std::to_string(width * 1440 / rig.window->logicalDpiX()));
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
