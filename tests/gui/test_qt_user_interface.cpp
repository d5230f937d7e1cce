// The user-interface seam as the window shows it: whole message boxes, the filter form
// of the file dialogs, a busy window that takes no input, and the change list's answer.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui/qt_user_interface.h"
#include "gui/review_dialog.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

TEST(QtUserInterface, MessageBoxCarriesTextIconButtonsDefaultAndDetail) {
  EnsureApplication();
  const auto box = MakeMessageBox({"Radio is busy!!\r\nTry again.", "Read from Radio", Icon::Exclamation,
                                   Buttons::RetryCancel, DefaultButton::Second, "/dev/ttyUSB0: the radio answered 01"},
                                  nullptr);
  EXPECT_EQ(box->text(), "Radio is busy!!\nTry again.");
  EXPECT_EQ(box->windowTitle(), "Read from Radio");
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Retry | QMessageBox::Cancel);
  ASSERT_NE(box->defaultButton(), nullptr);
  EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Cancel) << "the second button is the default";
  EXPECT_EQ(box->informativeText(), "/dev/ttyUSB0: the radio answered 01");
}

TEST(QtUserInterface, FileFiltersTakeQtsFormAndAllFilesMeansEveryFile) {
  EXPECT_EQ(QtFileFilter("dat files(*.dat)|*.dat|All files(*.*)|*.*"), "dat files (*.dat);;All files (*)");
  EXPECT_EQ(QtFileFilter("Text files(*.txt)|*.txt"), "Text files (*.txt)");
}

TEST(QtUserInterface, ABusyWindowTakesNoInputAndAnswersAgainAfterwards) {
  WindowRig rig("[model1]\nuse=1\natis=1\n", 1);
  QtUserInterface ui(rig.prefs);
  ui.SetWindow(rig.window.get());
  QTreeWidget* tree = rig.Tree();
  const QTreeWidgetItem* general = tree->currentItem();
  ASSERT_NE(general, nullptr);

  ui.SetBusy(true);
  ui.SetBusy(true);  // commands nest
  QTest::keyClick(tree, Qt::Key_Down);
  EXPECT_EQ(tree->currentItem(), general) << "keys do not reach a busy window";
  EXPECT_FALSE(rig.window->close()) << "nor does the close box";
  ui.SetBusy(false);
  QTest::keyClick(tree, Qt::Key_Down);
  EXPECT_EQ(tree->currentItem(), general) << "still busy until the outer command ends";
  EXPECT_NE(QApplication::overrideCursor(), nullptr);

  ui.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the pointer is back to normal";
  QTest::keyClick(tree, Qt::Key_Down);
  EXPECT_NE(tree->currentItem(), general);
}

// The change list shows how the transfer will write, and offers the written-block check
// only to a changed-only write; Program hands back what the box says.
TEST(ReviewDialog, SaysHowItWritesAndHandsBackTheCheckChosen) {
  EnsureApplication();
  ProgramReview whole;
  whole.plan = "Every setting is written (273 writes), then every block is read back to check it.";
  ReviewDialog plain(whole);
  EXPECT_EQ(plain.findChild<QCheckBox*>("chkWrittenOnly"), nullptr);
  EXPECT_EQ(plain.findChild<QLabel*>("lblPlan")->text().toStdString(), whole.plan);

  ProgramReview changed = whole;
  changed.offersWrittenCheck = true;
  ReviewDialog dialog(changed);
  auto* box = dialog.findChild<QCheckBox*>("chkWrittenOnly");
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(box->accessibleName().isEmpty());
  QTimer::singleShot(0, &dialog, [&] {
    box->click();
    dialog.findChild<QPushButton*>("cmdOK")->click();
  });
  const ReviewAnswer answer = dialog.Ask();
  EXPECT_TRUE(answer.program);
  EXPECT_TRUE(answer.checkWrittenOnly);
}

}  // namespace
}  // namespace qm47::testing
