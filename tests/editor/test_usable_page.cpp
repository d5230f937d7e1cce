#include <gtest/gtest.h>

#include "editor/entry_events.h"
#include "editor/setting_edit.h"
#include "editor/settings_pages.h"
#include "model/builtin_tables.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

// The usable page of a fresh model-1 image, with the window's tree beside it.
struct UsablePage : SessionFixture {
  UsablePage() : SessionFixture(1) {}

  SettingsPageState Page() const { return UsablePageFor(session.record); }
  EditResult Toggle(const std::string& box, bool on) {
    return ApplyEdit(session, tree, BoxToggled(Page().Check(box), on));
  }
  EditResult Choose(const std::string& name, const std::string& itemText) {
    const ListControl list = Page().List(name);
    for (std::size_t i = 0; i < list.items.size(); ++i) {
      if (list.items[i].text == itemText) return ApplyEdit(session, tree, ItemChosen(list, static_cast<int>(i)));
    }
    ADD_FAILURE() << name << " has no item " << itemText;
    return {};
  }
  std::string Selected(const std::string& name) const {
    const ListControl list = Page().List(name);
    return list.selected < 0 ? "(none)" : list.items[static_cast<std::size_t>(list.selected)].text;
  }
  std::string NodeText(const std::string& key) const {
    const int index = tree.IndexOf(key);
    return index ? tree.at(index).text : "(no node)";
  }

  NavigationTree tree = BuildTree(session.record, session.model);
};

}  // namespace

TEST(UsablePage, RowListsNeedTheGroupUsableAndTheNameNeedsTheIconOff) {
  UsablePage f;
  UsableGroupEntry& usa = f.session.record.UsableGroup[kUSA];
  struct Case {
    bool usable, icon;
    bool listsEnabled, nameEnabled;
  } cases[] = {
      {true, false, true, true}, {true, true, true, false}, {false, false, false, false}, {false, true, false, false}};
  for (const Case& c : cases) {
    usa.Usable = c.usable;
    usa.StatusIcon = c.icon;
    const SettingsPageState page = f.Page();
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
  EXPECT_EQ(f.Selected("cmbUsableTot_0"), "On");
  EXPECT_EQ(f.Page().Check("chkUsable_3").caption, "EXP CH");
}

TEST(UsablePage, ClearingAGroupTakesItOutOfTheTreeAtOnceAndSettingItBringsItBackMarked) {
  UsablePage f;
  const std::vector<Channel> usaChannels = f.session.record.CHUSA;
  ASSERT_EQ(f.NodeText("PU32"), "CH16[Enable]");

  // While the program fills the page nothing is written and the tree stays.
  f.session.flags.pageLoading = true;
  EXPECT_FALSE(f.Toggle("chkUsable_0", false).applied);
  EXPECT_TRUE(f.session.record.UsableGroup[kUSA].Usable);
  EXPECT_FALSE(f.session.flags.dirty);
  f.session.flags.pageLoading = false;

  EditResult r = f.Toggle("chkUsable_0", false);
  EXPECT_TRUE(r.applied);
  EXPECT_TRUE(r.tree.rebuilt);
  EXPECT_NE(r.areas & record_area::Usable, 0u);
  EXPECT_TRUE(f.session.flags.dirty);
  EXPECT_FALSE(f.session.record.UsableGroup[kUSA].Usable);
  EXPECT_EQ(f.tree.IndexOf("PU"), 0);
  EXPECT_EQ(f.tree.IndexOf("PU32"), 0);
  EXPECT_EQ(f.session.record.CHUSA, usaChannels);  // the channels stay in the record

  r = f.Toggle("chkUsable_0", true);
  EXPECT_TRUE(r.tree.rebuilt);
  EXPECT_EQ(f.NodeText("PU"), "USA");
  EXPECT_EQ(f.NodeText("PU32"), "CH16[Enable]");
  EXPECT_EQ(f.tree.at(f.tree.IndexOf("PU33")).parent, f.tree.IndexOf("PU"));
}

TEST(UsablePage, StatusNameShowsOnTheGroupNodeOnlyWhileTheIconIsOff) {
  UsablePage f;
  // The name arrives through its text box's entry rules.
  const EntryPlace place = f.Page().Text("txtUsable_0").place.value();
  const EntryOutcome typed = EntryFocusLost({place, "AB", true}, f.session.record);
  ASSERT_TRUE(typed.store);
  EditResult r = ApplyEdit(f.session, f.tree, TextStored(*typed.store));
  EXPECT_EQ(f.session.record.UsableGroup[kUSA].StatusName, "  AB");
  EXPECT_EQ(r.tree.texts, std::vector<int>{f.tree.IndexOf("PU")});
  EXPECT_EQ(f.NodeText("PU"), "USA(  AB)");

  r = f.Choose("cmbUsableSts_0", "On");
  EXPECT_TRUE(f.session.record.UsableGroup[kUSA].StatusIcon);
  EXPECT_FALSE(r.tree.rebuilt);
  EXPECT_EQ(r.tree.texts, std::vector<int>{f.tree.IndexOf("PU")});
  EXPECT_EQ(f.NodeText("PU"), "USA");
  EXPECT_FALSE(f.Page().Text("txtUsable_0").enabled);
  EXPECT_EQ(f.Page().Text("txtUsable_0").text, "  AB");  // kept, only hidden from the tree
}

TEST(UsablePage, PriorityListOffersTheGroupsEnabledChannelsAndStoresTheirPosition) {
  UsablePage f;
  SettingsRecord& rec = f.session.record;
  std::vector<ListItem> enabled;
  for (const Channel& ch : rec.CHUSA) {
    if (ch.Enable) enabled.push_back({BuiltinChannels()[static_cast<std::size_t>(ch.Position)].label, ch.Position});
  }
  ASSERT_GT(enabled.size(), 2u);
  EXPECT_EQ(f.Page().List("cmbUsablePri_0").items, enabled);
  EXPECT_EQ(f.Selected("cmbUsablePri_0"), "16");  // the fresh priority, position 32

  f.Choose("cmbUsablePri_0", "22A");
  EXPECT_EQ(rec.UsableGroup[kUSA].PriorityCh, PositionOfLabel("22A"));
  EXPECT_EQ(rec.UsableGroup[kINTL].PriorityCh, 32);

  // A priority channel that is no longer enabled matches no item; its number stays stored.
  rec.CHUSA[static_cast<std::size_t>(PositionOfLabel("22A"))].Enable = false;
  const ListControl list = f.Page().List("cmbUsablePri_0");
  EXPECT_EQ(list.items.size(), enabled.size() - 1);
  EXPECT_EQ(list.selected, -1);
  EXPECT_EQ(rec.UsableGroup[kUSA].PriorityCh, PositionOfLabel("22A"));
  EXPECT_FALSE(ItemChosen(list, -1).apply);  // no selection stores nothing
}

TEST(UsablePage, ExpPriorityListOffersTheEnabledExpansionChannelsByTheirReportNumbers) {
  UsablePage f;
  SettingsRecord& rec = f.session.record;
  rec.UsableGroup[kEXP].Usable = true;
  rec.CHEXP[0].Enable = true;
  rec.CHEXP[6].Enable = true;
  EXPECT_EQ(f.Page().List("cmbUsablePri_3").items, (std::vector<ListItem>{{"EXP1", 240}, {"EXP7", 246}}));
  EXPECT_EQ(f.Selected("cmbUsablePri_3"), "(none)");

  f.Choose("cmbUsablePri_3", "EXP7");
  EXPECT_EQ(rec.UsableGroup[kEXP].PriorityCh, 246);
  EXPECT_EQ(f.Selected("cmbUsablePri_3"), "EXP7");
}
