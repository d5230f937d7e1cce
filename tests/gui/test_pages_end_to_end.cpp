// Values changed the way a user changes them, saved as a .dat file and opened again: every
// change must come back.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "model/codec.h"
#include "window_rig.h"

namespace qm47::testing {
namespace {

constexpr const char* kModel = "[model1]\nuse=1\natis=1\nscrambler=1\n";

template <class T>
T* Focused(WindowRig& rig, const char* name) {
  T* control = rig.Find<T>(name);
  EXPECT_NE(control, nullptr) << name;
  if (!control) return nullptr;
  Focus(control);
  EXPECT_TRUE(control->hasFocus()) << name;
  return control;
}

// Typed over what the field holds, then Tab on to the next control, which stores it.
void Type(WindowRig& rig, const char* name, const QString& text) {
  QLineEdit* box = Focused<QLineEdit>(rig, name);
  if (!box) return;
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, text);
  QTest::keyClick(box, Qt::Key_Tab);
}

void Toggle(WindowRig& rig, const char* name) {
  if (QCheckBox* box = Focused<QCheckBox>(rig, name)) QTest::keyClick(box, Qt::Key_Space);
}

// Every control reaching the record is the accessible actions' test, and every value the
// pages take surviving the file the record check's; this is Save As and Open of the window.
TEST(PagesEndToEnd, ChangesAndAnEntryStillBeingTypedSurviveSaveAsAndOpeningTheDatFile) {
  WindowRig rig(kModel, 1);
  SettingsRecord expected = rig.session.record;

  rig.window->SelectNode("DSC");
  Type(rig, "txtUserMMSI", "366123456");
  expected.DscBasic.UserMmsi = "3661234560";  // kept as ten figures
  rig.window->SelectNode("PU26");  // channel 13
  Type(rig, "txtCTag", "HARBOUR");
  expected.CHUSA[26].ChTag = "HARBOUR";
  rig.window->SelectNode("SM1");
  Toggle(rig, "chkGEnable");
  Type(rig, "txtGPosi", "TENDER");
  Type(rig, "txtGMMSI", "366000001");

  // Each change in its own field and nowhere else; the MMSI typed last is still pending
  // (the focus went on to the tree), and Save As takes it.
  expected.CHMMSID[0] = {true, "TENDER", ""};
  EXPECT_EQ(rig.session.record, expected);
  EXPECT_EQ(rig.ui.Texts(), std::vector<std::string>{});

  const TempDir saved("end-to-end");  // the second window's own folder is the first one's
  const std::string path = saved / "boat.dat";
  rig.ui.files = {path};
  rig.Find<QAction>("mnuFileSaveAs")->trigger();
  ASSERT_EQ(rig.ui.fileChoices.size(), 1u);
  expected.CHMMSID[0].Mmsid = "3660000010";
  EXPECT_EQ(rig.session.record, expected);

  WindowRig reopened(kModel, 1);
  reopened.ui.files = {path};
  reopened.Find<QAction>("mnuFileOpen")->trigger();
  EXPECT_EQ(reopened.ui.Texts(), std::vector<std::string>{});
  // Compared as the radio gets them: a call sign of spaces reads back from the file as
  // empty and is padded to spaces again on the way to the image.
  const auto exported = [](const Session& s) {
    std::pair<SettingsRecord, MemoryImage> out{s.record, s.image};
    PrepareImageForExport(out.first, out.second, s.model.number);
    return out;
  };
  const auto [before, beforeImage] = exported(rig.session);
  const auto [after, afterImage] = exported(reopened.session);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(afterImage.bytes() == beforeImage.bytes());
}

}  // namespace
}  // namespace qm47::testing
