#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/pages/setting_edit.h"
#include "editor/pages/settings_pages.h"
#include "link/transfers.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

constexpr PageKind kSettingPages[] = {PageKind::Usable, PageKind::Common, PageKind::Dsc, PageKind::Atis};

struct Pages : SessionFixture {
  Pages() : SessionFixture(1) {}

  SettingsPageState Page(PageKind kind) const { return SettingsPageFor(session, kind); }
  EditResult Choose(PageKind kind, const std::string& name, const std::string& itemText) {
    const ListControl list = Page(kind).List(name);
    for (std::size_t i = 0; i < list.items.size(); ++i) {
      if (list.items[i].text == itemText) return ApplyEdit(session, tree, ItemChosen(list, static_cast<int>(i)));
    }
    ADD_FAILURE() << name << " has no item " << itemText;
    return {};
  }
  std::string Selected(PageKind kind, const std::string& name) const {
    const ListControl list = Page(kind).List(name);
    return list.selected < 0 ? "(none)" : list.items[static_cast<std::size_t>(list.selected)].text;
  }

  NavigationTree tree = BuildTree(session.record, session.model);
};

// What every list and box of the four pages shows, by name.
std::map<std::string, int> Shown(const Session& s) {
  std::map<std::string, int> shown;
  for (const PageKind kind : kSettingPages) {
    const SettingsPageState page = SettingsPageFor(s, kind);
    for (const ListControl& l : page.lists) shown[l.name] = l.selected;
    for (const CheckControl& c : page.checks) shown[c.name] = c.checked;
  }
  return shown;
}

}  // namespace

TEST(SettingsPages, EveryListAndBoxStoresWhatItShowsAndNothingElse) {
  Pages f;
  std::set<std::string> names;
  for (const PageKind kind : kSettingPages) {
    const SettingsPageState page = f.Page(kind);
    for (const ListControl& list : page.lists) EXPECT_TRUE(names.insert(list.name).second) << list.name;
    for (const CheckControl& box : page.checks) EXPECT_TRUE(names.insert(box.name).second) << box.name;
    for (const TextControl& box : page.texts) EXPECT_TRUE(names.insert(box.name).second) << box.name;

    for (const ListControl& list : page.lists) {
      for (int item = 0; item < static_cast<int>(list.items.size()); ++item) {
        const std::map<std::string, int> before = Shown(f.session);
        ASSERT_TRUE(ApplyEdit(f.session, f.tree, ItemChosen(list, item)).applied);
        std::map<std::string, int> after = Shown(f.session);
        EXPECT_EQ(after[list.name], item) << list.name;
        after[list.name] = before.at(list.name);
        EXPECT_EQ(after, before) << "choosing item " << item << " of " << list.name << " changed another control";
      }
    }
    for (const CheckControl& box : page.checks) {
      for (const bool on : {!box.checked, box.checked}) {
        const std::map<std::string, int> before = Shown(f.session);
        ASSERT_TRUE(ApplyEdit(f.session, f.tree, BoxToggled(box, on)).applied);
        std::map<std::string, int> after = Shown(f.session);
        EXPECT_EQ(after[box.name], on) << box.name;
        after[box.name] = before.at(box.name);
        EXPECT_EQ(after, before) << "toggling " << box.name << " changed another control";
      }
    }
  }
  EXPECT_EQ(names.size(), 4u * 5 + 9 + (3 + 2 + 8 + 8 + 24 + 1 + 3) + (8 + 1 + 40));
}

TEST(UsablePage, RowListsNeedTheGroupUsableAndTheNameNeedsTheIconOff) {
  Pages f;
  UsableGroupEntry& usa = f.session.record.UsableGroup[kUSA];
  struct Case {
    bool usable, icon;
    bool listsEnabled, nameEnabled;
  } cases[] = {
      {true, false, true, true}, {true, true, true, false}, {false, false, false, false}, {false, true, false, false}};
  for (const Case& c : cases) {
    usa.Usable = c.usable;
    usa.StatusIcon = c.icon;
    const SettingsPageState page = f.Page(PageKind::Usable);
    const std::string at = "usable " + std::to_string(c.usable) + " icon " + std::to_string(c.icon);
    EXPECT_TRUE(page.Check("chkUsable_0").enabled) << at;
    EXPECT_EQ(page.Check("chkUsable_0").checked, c.usable) << at;
    for (const char* list : {"cmbUsableSts_0", "cmbUsablePri_0", "cmbUsableTot_0"}) {
      EXPECT_EQ(page.List(list).enabled, c.listsEnabled) << list << ", " << at;
    }
    EXPECT_EQ(page.Text("txtUsable_0").enabled, c.nameEnabled) << at;
    // Rows do not lean on each other.
    EXPECT_TRUE(page.List("cmbUsableTot_1").enabled) << at;
  }
  // Disabled lists still show what is stored.
  usa.TxTot = true;
  EXPECT_EQ(f.Selected(PageKind::Usable, "cmbUsableTot_0"), "On");
}

TEST(UsablePage, ExpPriorityListOffersTheEnabledExpansionChannelsByTheirReportNumbers) {
  Pages f;
  SettingsRecord& rec = f.session.record;
  rec.UsableGroup[kEXP].Usable = true;
  rec.CHEXP[0].Enable = true;
  rec.CHEXP[6].Enable = true;
  EXPECT_EQ(f.Page(PageKind::Usable).List("cmbUsablePri_3").items, (std::vector<ListItem>{{"EXP1", 240}, {"EXP7", 246}}));
  EXPECT_EQ(f.Selected(PageKind::Usable, "cmbUsablePri_3"), "(none)");

  f.Choose(PageKind::Usable, "cmbUsablePri_3", "EXP7");
  EXPECT_EQ(rec.UsableGroup[kEXP].PriorityCh, 246);
  EXPECT_EQ(f.Selected(PageKind::Usable, "cmbUsablePri_3"), "EXP7");
}

TEST(CommonPage, OffsetListHoldsFortyNineHalfHoursFromMinusToPlusTwelve) {
  Pages f;
  const std::vector<ListItem> items = f.Page(PageKind::Common).List("cmbCommonOffset").items;
  ASSERT_EQ(items.size(), 49u);
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].value, static_cast<int>(i) - 24) << items[i].text;
  EXPECT_EQ(items.front().text, "-12:00");
  EXPECT_EQ(items[23].text, "-0:30");
  EXPECT_EQ(items[24].text, " 0");
  EXPECT_EQ(items[25].text, "+0:30");
  EXPECT_EQ(items.back().text, "+12:00");
}

TEST(CommonPage, FreshValuesOutsideTheListsSelectNothing) {
  Pages f;
  // A fresh image holds 0xFF bytes: bearing and weather alert 255. Its offset reads as
  // the image stores it, +12:00.
  const CommonSetupGroup& c = f.session.record.CommonSetup;
  ASSERT_EQ(c.MagneticVariation, 255);
  EXPECT_EQ(f.Selected(PageKind::Common, "cmbCommonOffset"), "+12:00");
  for (const char* name : {"cmbCommonMag", "cmbCommonWeater"}) {
    EXPECT_EQ(f.Selected(PageKind::Common, name), "(none)") << name;
  }
  f.Choose(PageKind::Common, "cmbCommonWeater", "Wx and Scan");
  EXPECT_EQ(c.Weater, 3);
  f.Choose(PageKind::Common, "cmbCommonMag", "Mag");
  EXPECT_EQ(c.MagneticVariation, 1);
}

TEST(CommonPage, ScanOffDisablesResumeTimeAndPttScanClearButKeepsTheirValues) {
  Pages f;
  f.Choose(PageKind::Common, "cmbCommonResume", "5Sec");
  f.Choose(PageKind::Common, "cmbCommonPTTSCAN", "Off");
  f.Choose(PageKind::Common, "cmbCommonScan", "Off");
  const SettingsPageState page = f.Page(PageKind::Common);
  EXPECT_FALSE(page.List("cmbCommonResume").enabled);
  EXPECT_FALSE(page.List("cmbCommonPTTSCAN").enabled);
  EXPECT_TRUE(page.List("cmbCommonDual").enabled);
  EXPECT_EQ(f.session.record.CommonSetup.ResumeTime, 5);
  EXPECT_FALSE(f.session.record.CommonSetup.PttScanClear);
  EXPECT_EQ(f.Selected(PageKind::Common, "cmbCommonResume"), "5Sec");

  f.Choose(PageKind::Common, "cmbCommonScan", "On");
  EXPECT_TRUE(f.Page(PageKind::Common).List("cmbCommonResume").enabled);
  EXPECT_TRUE(f.Page(PageKind::Common).List("cmbCommonPTTSCAN").enabled);
}

TEST(DscPage, EachLowHiListAndTheLineToItAreLitOnlyWhileItsCallIsOn) {
  Pages f;
  int pairs = 0;
  for (const ListControl& level : f.Page(PageKind::Dsc).lists) {
    const auto tx = level.name.rfind("TX_");
    if (tx == std::string::npos) continue;
    ++pairs;
    const std::string call = level.name.substr(0, tx) + level.name.substr(tx + 2);
    EXPECT_EQ(level.items, (std::vector<ListItem>{{"Low", 0}, {"Hi", 1}})) << level.name;
    for (const char* onOff : {"Off", "On"}) {
      f.Choose(PageKind::Dsc, call, onOff);
      const SettingsPageState page = f.Page(PageKind::Dsc);
      const ListControl& now = page.List(level.name);
      EXPECT_EQ(now.enabled, onOff == std::string("On")) << level.name;
      ASSERT_TRUE(now.line) << "a line leads from the call's list to its Low/Hi list";
      EXPECT_EQ(now.line->colour, Lit(now.enabled)) << level.name;
    }
  }
  EXPECT_EQ(pairs, 4 + 3 * 4);

  // Each list reaches its own field of the record.
  const DscAdvancedGroup& a = f.session.record.DscAdvanced;
  f.Choose(PageKind::Dsc, "cmbUsableDscGroupCallTX_2", "Hi");
  f.Choose(PageKind::Dsc, "cmbUsableDscIndividualCall_3", "Off");
  EXPECT_TRUE(a.GroupCallTX[2]);
  EXPECT_FALSE(a.IndividualCall[3]);
  f.Choose(PageKind::Dsc, "cmbUsableDscPosRequestTX_3", "Low");
  EXPECT_FALSE(f.session.record.DscBasic.PosRequestTX[3]);
  f.Choose(PageKind::Dsc, "cmbUsableDscPosRequestTX_3", "Hi");
  EXPECT_TRUE(f.session.record.DscBasic.PosRequestTX[3]);
  f.Choose(PageKind::Dsc, "cmbUsableDscBeepOut_7", "On");
  EXPECT_TRUE(f.session.record.DscBasic.BeepOut[7]);
}

TEST(DscPage, ClearButtonsNameTheirTransferModesAndCountShowsTheImagesCount) {
  Pages f;
  f.session.image.SetByte(addr::UserMmsiCount, 7);
  const SettingsPageState page = f.Page(PageKind::Dsc);
  EXPECT_EQ(page.Button("cmdFClear").transferMode, transfer_mode::ClearMmsi);
  EXPECT_EQ(page.Button("cmdFclearLog_0").transferMode, transfer_mode::ClearDistressLog);
  EXPECT_EQ(page.Button("cmdFclearLog_1").transferMode, transfer_mode::ClearDscLog);

  EXPECT_EQ(page.Text("txtFCount").text, "7");
  EXPECT_TRUE(page.Text("txtFCount").readOnly());
  EXPECT_EQ(page.Text("txtUserMMSI").place, (EntryPlace{EntryField::UserMmsi, 0}));
}

TEST(AtisPage, BoxesStoreTheirGroupAndTextBoxesCarryTheirEntryPlaces) {
  Pages f;
  SettingsRecord& rec = f.session.record;
  rec.AtisCallSign[19] = {"7", "ABC"};
  rec.AtisCommon.AtisGroup = {};
  rec.AtisCommon.KikkerGroup = {};
  const SettingsPageState page = f.Page(PageKind::Atis);

  const EditResult r = ApplyEdit(f.session, f.tree, BoxToggled(page.Check("chkATISKiller_3"), true));
  EXPECT_EQ(r.areas, record_area::Atis);
  EXPECT_EQ(rec.AtisCommon.KikkerGroup, (std::array<bool, 4>{false, false, false, true}));
  EXPECT_EQ(rec.AtisCommon.AtisGroup, (std::array<bool, 4>{}));

  const TextControl& mid = page.Text("txtATISMid_19");
  EXPECT_EQ(mid.row, "No.20");
  EXPECT_EQ(mid.text, "7");
  EXPECT_EQ(mid.place, (EntryPlace{EntryField::AtisMid, 19}));
  EXPECT_EQ(page.Text("txtATISDisp_19").text, "ABC");
  EXPECT_EQ(page.Text("txtATIScode").place, (EntryPlace{EntryField::AtisCode, 0}));
}
