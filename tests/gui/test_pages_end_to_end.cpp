// One value changed on every page kind the way a user changes it, saved as a .dat file
// and opened again: every change must come back.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "model/builtin_tables.h"
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

// The other of a two-item list.
void OtherItem(WindowRig& rig, const char* name) {
  if (QComboBox* list = Focused<QComboBox>(rig, name)) QTest::keyClick(list, list->currentIndex() ? Qt::Key_Up : Qt::Key_Down);
}

void Toggle(WindowRig& rig, const char* name) {
  if (QCheckBox* box = Focused<QCheckBox>(rig, name)) QTest::keyClick(box, Qt::Key_Space);
}

void ShowTab(WindowRig& rig, int index) { rig.Find<QTabWidget>("tabSettings")->setCurrentIndex(index); }

TEST(PagesEndToEnd, AValueChangedOnEveryPageKindSurvivesSavingAndOpeningTheDatFile) {
  WindowRig rig(kModel, 1);
  const SettingsRecord fresh = rig.session.record;
  SettingsRecord expected = fresh;

  rig.window->SelectNode("Usable");
  OtherItem(rig, "cmbUsableTot_0");
  expected.UsableGroup[kUSA].TxTot = !fresh.UsableGroup[kUSA].TxTot;

  rig.window->SelectNode("Common");
  OtherItem(rig, "cmbCommonDual");
  expected.CommonSetup.DualWatch = !fresh.CommonSetup.DualWatch;

  rig.window->SelectNode("DSC");
  Type(rig, "txtUserMMSI", "366123456");
  expected.DscBasic.UserMmsi = "3661234560";  // kept as ten figures
  ShowTab(rig, 1);
  OtherItem(rig, "cmbUsableDscDistressRelay");
  expected.DscAdvanced.DistressRelay = !fresh.DscAdvanced.DistressRelay;

  rig.window->SelectNode("ATIS");
  ShowTab(rig, 1);
  Type(rig, "txtATISMid_0", "366");
  expected.AtisCallSign[0].MID = "366";

  rig.window->SelectNode("PU26");  // channel 13
  Toggle(rig, "chkCScan");
  expected.GroupTable(kUSA)[26].ScanMemory = !fresh.GroupTable(kUSA)[26].ScanMemory;

  rig.window->SelectNode("Usable");
  Toggle(rig, "chkUsable_3");  // the expansion group, so its channels have pages
  expected.UsableGroup[kEXP].Usable = !fresh.UsableGroup[kEXP].Usable;
  rig.window->SelectNode("E1");
  Toggle(rig, "chkCEnable");
  Type(rig, "txtCN_0", "E1");
  Type(rig, "txtCRF", "157.025");
  Type(rig, "txtCTag", "HARBOUR");
  expected.CHEXP[0].Enable = true;
  expected.CHEXP[0].CHDisplayL = "E1";
  expected.CHEXP[0].Rxfreq = 157.025;
  expected.CHEXP[0].ChTag = "HARBOUR";

  rig.window->SelectNode("PW");
  if (!fresh.CHWX[2].Enable) Toggle(rig, "chkDEnable_2");
  expected.CHWX[2].Enable = true;
  Type(rig, "txtDTagName_2", "WX3 NOAA");
  expected.CHWX[2].ChTag = "WX3 NOAA";

  rig.window->SelectNode("SM1");
  Toggle(rig, "chkGEnable");
  Type(rig, "txtGPosi", "TENDER");
  Type(rig, "txtGMMSI", "366000001");
  expected.CHMMSID[0] = {true, "TENDER", "3660000010"};

  const SettingsRecord& edited = rig.session.record;
  EXPECT_EQ(edited.UsableGroup, expected.UsableGroup);
  EXPECT_EQ(edited.CommonSetup, expected.CommonSetup);
  EXPECT_EQ(edited.DscBasic, expected.DscBasic);
  EXPECT_EQ(edited.DscAdvanced, expected.DscAdvanced);
  EXPECT_EQ(edited.AtisCallSign[0], expected.AtisCallSign[0]);
  EXPECT_EQ(edited.GroupTable(kUSA)[26], expected.GroupTable(kUSA)[26]);
  EXPECT_EQ(edited.CHWX[2], expected.CHWX[2]);
  EXPECT_EQ(edited.CHEXP[0], expected.CHEXP[0]);
  EXPECT_EQ(rig.ui.Texts(), std::vector<std::string>{});

  const TempDir saved("end-to-end");  // the second window's own folder is the first one's
  const std::string path = saved / "boat.dat";
  rig.ui.files = {path};
  rig.Find<QAction>("mnuFileSaveAs")->trigger();
  ASSERT_EQ(rig.ui.fileChoices.size(), 1u);
  // The MMSI typed last was still pending (the focus went on to the tree): the save took it.
  EXPECT_EQ(rig.session.record.CHMMSID[0], expected.CHMMSID[0]);

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
