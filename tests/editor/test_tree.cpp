#include <gtest/gtest.h>

#include "editor/pages/tree.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

std::vector<std::string> Keys(const NavigationTree& t, int first, int last) {
  std::vector<std::string> keys;
  for (int i = first; i <= last; ++i) keys.push_back(t.at(i).key);
  return keys;
}

const std::string& TextOf(const NavigationTree& t, const std::string& key) {
  const int index = t.IndexOf(key);
  EXPECT_NE(index, 0) << key;
  return t.at(index ? index : 1).text;
}

int ParentOf(const NavigationTree& t, const std::string& key) { return t.at(t.IndexOf(key)).parent; }

// A fresh model-1 record with all four groups usable (its expansion group has no enabled channel).
struct AllGroups : SessionFixture {
  AllGroups() : SessionFixture(1) { session.record.UsableGroup[kEXP].Usable = true; }
};

}  // namespace

TEST(Tree, AtisModelHasEveryNodeInOrderUnderItsParent) {
  AllGroups f;
  SettingsRecord& rec = f.session.record;
  rec.CHMMSID[11].InUse = true;
  rec.CHEXP[6].Enable = true;
  const NavigationTree t = BuildTree(rec, f.session.model);

  EXPECT_EQ(Keys(t, 1, 8), (std::vector<std::string>{"General", "Usable", "Common", "DSC", "ATIS", "Program", "PU", "PU0"}));
  // 240 channel nodes per plan, enabled or not; 48 + 10 directory entries; 40 expansion channels.
  EXPECT_EQ(t.groupNode, (std::array<int, kGroupCount>{7, 248, 489, 792}));
  EXPECT_EQ(t.size(), 832);
  EXPECT_EQ(Keys(t, 729, 733), (std::vector<std::string>{"PC239", "PW", "DSCSetting", "SM", "SM1"}));
  EXPECT_EQ(t.at(t.size()).key, "E40");

  EXPECT_EQ(TextOf(t, "PU0"), "CH00");
  EXPECT_EQ(TextOf(t, "PU32"), "CH16[Enable]");
  EXPECT_EQ(TextOf(t, "PC45"), "CH22A[Enable]");
  EXPECT_EQ(TextOf(t, "PI239"), "CH119A");
  EXPECT_EQ(TextOf(t, "SM12"), "Memory ID12[Enable]");
  EXPECT_EQ(TextOf(t, "SM11"), "Memory ID11");
  EXPECT_EQ(TextOf(t, "SG10"), "Group ID10");
  EXPECT_EQ(TextOf(t, "E7"), "EXP7[Enable]");

  EXPECT_EQ(ParentOf(t, "ATIS"), 1);
  EXPECT_EQ(ParentOf(t, "Program"), 0);
  EXPECT_EQ(ParentOf(t, "PW"), 6);
  EXPECT_EQ(ParentOf(t, "PI17"), t.IndexOf("PI"));
  EXPECT_EQ(ParentOf(t, "SG3"), t.IndexOf("SG"));
  EXPECT_EQ(ParentOf(t, "ExpChannel"), 0);
  EXPECT_EQ(ParentOf(t, "E1"), t.IndexOf("ExpChannel"));
  EXPECT_EQ(t.IndexOf("pu32"), t.IndexOf("PU32"));  // keys compare in upper case

  const NavigationTree withoutAtis = BuildTree(rec, MakeDescriptor(3, false, true));
  EXPECT_EQ(withoutAtis.IndexOf("ATIS"), 0);
  EXPECT_EQ(Keys(withoutAtis, 5, 6), (std::vector<std::string>{"Program", "PU"}));
  EXPECT_EQ(withoutAtis.groupNode, (std::array<int, kGroupCount>{6, 247, 488, 791}));
}

TEST(Tree, UnusableGroupHasNoNodesAndNoStatusName) {
  SessionFixture f(1);
  SettingsRecord& rec = f.session.record;
  rec.UsableGroup[kUSA] = {.Usable = false, .StatusName = "BOAT"};
  rec.UsableGroup[kEXP].Usable = false;
  const NavigationTree t = BuildTree(rec, f.session.model);

  EXPECT_EQ(t.IndexOf("PU"), 0);
  EXPECT_EQ(t.IndexOf("PU0"), 0);
  EXPECT_EQ(t.IndexOf("ExpChannel"), 0);
  EXPECT_EQ(t.IndexOf("E1"), 0);
  EXPECT_EQ(Keys(t, 6, 8), (std::vector<std::string>{"Program", "PI", "PI0"}));
  EXPECT_EQ(t.groupNode, (std::array<int, kGroupCount>{0, 7, 248, 0}));
  EXPECT_EQ(t.at(t.size()).key, "SG10");
  for (const TreeNode& node : t.nodes) EXPECT_EQ(node.text.find("BOAT"), std::string::npos) << node.key;
}

TEST(Tree, StatusNameShowsOnlyWhileTheStatusIconIsOff) {
  AllGroups f;
  SettingsRecord& rec = f.session.record;
  rec.UsableGroup[kUSA].StatusName = "BOAT";
  rec.UsableGroup[kINTL].StatusName = "SEA";
  rec.UsableGroup[kINTL].StatusIcon = true;
  rec.UsableGroup[kEXP].StatusName = "X";
  NavigationTree t = BuildTree(rec, f.session.model);
  EXPECT_EQ(TextOf(t, "PU"), "USA(BOAT)");
  EXPECT_EQ(TextOf(t, "PI"), "INTL");
  EXPECT_EQ(TextOf(t, "PC"), "CANADA");  // no name
  EXPECT_EQ(TextOf(t, "ExpChannel"), "EXP Channel(X)");

  // Switching the icons over changes exactly those two nodes, in place.
  rec.UsableGroup[kUSA].StatusIcon = true;
  rec.UsableGroup[kINTL].StatusIcon = false;
  EXPECT_EQ(RefreshStatusNames(t, rec), (std::vector<int>{7, 248}));
  EXPECT_EQ(TextOf(t, "PU"), "USA");
  EXPECT_EQ(TextOf(t, "PI"), "INTL(SEA)");
  EXPECT_TRUE(RefreshStatusNames(t, rec).empty());
}

TEST(Tree, OneEditRefreshesOneNodeWithoutRebuildingTheTree) {
  AllGroups f;
  SettingsRecord& rec = f.session.record;
  NavigationTree t = BuildTree(rec, f.session.model);

  rec.CHUSA[0].Enable = true;
  EXPECT_EQ(RefreshNodeText(t, rec, ChannelNodeKey(kUSA, 0)), 8);
  EXPECT_EQ(t.at(8).text, "CH00[Enable]");
  EXPECT_EQ(RefreshNodeText(t, rec, "PU0"), 0);  // already up to date
  rec.CHEXP[39].Enable = true;
  EXPECT_EQ(t.at(RefreshNodeText(t, rec, ChannelNodeKey(kEXP, 40))).text, "EXP40[Enable]");

  // The texts kept by single-node refreshes are those a full build gives.
  TreeChange change = RefreshTree(t, rec, f.session.model);
  EXPECT_FALSE(change.rebuilt);
  EXPECT_TRUE(change.texts.empty());

  // Directory marks wait for their directory's own refresh.
  rec.CHGRPID[2].InUse = true;
  EXPECT_TRUE(RefreshDirectoryMarks(t, rec, Directory::Individual).empty());
  EXPECT_EQ(RefreshDirectoryMarks(t, rec, Directory::Group), (std::vector<int>{t.IndexOf(DirectoryNodeKey(Directory::Group, 3))}));
  EXPECT_EQ(TextOf(t, "SG3"), "Group ID3[Enable]");

  rec.CHMMSID[0].InUse = true;
  rec.UsableGroup[kCanada].StatusName = "CG";
  change = RefreshTree(t, rec, f.session.model);
  EXPECT_FALSE(change.rebuilt);
  EXPECT_EQ(change.texts, (std::vector<int>{489, t.IndexOf("SM1")}));

  rec.UsableGroup[kINTL].Usable = false;
  change = RefreshTree(t, rec, f.session.model);
  EXPECT_TRUE(change.rebuilt);
  EXPECT_EQ(t.IndexOf("PI"), 0);
}

// The tree alone names the pages: every key kind leads to its page, and no node to none.
TEST(Tree, EveryNodeLeadsToThePageItsKeyNames) {
  using K = PageKind;
  const auto page = [](K kind, int group = -1, int index = -1) { return PageRef{kind, group, Directory::Individual, index}; };
  const auto dir = [](K kind, Directory which, int index = -1) { return PageRef{kind, -1, which, index}; };
  const struct {
    const char* key;
    PageRef want;
  } rows[] = {
      {"General", page(K::General)},
      {"Program", page(K::Blank)},
      {"DSCSetting", page(K::Blank)},
      {"ExpChannel", page(K::ChannelList, kEXP)},
      {"Usable", page(K::Usable)},
      {"Common", page(K::Common)},
      {"DSC", page(K::Dsc)},
      {"ATIS", page(K::Atis)},
      {"PU", page(K::ChannelList, kUSA)},
      {"PI", page(K::ChannelList, kINTL)},
      {"PC", page(K::ChannelList, kCanada)},
      {"PW", page(K::Weather)},
      {"PU0", page(K::Channel, kUSA, 0)},
      {"PI239", page(K::Channel, kINTL, 239)},
      {"PC45", page(K::Channel, kCanada, 45)},
      {"E40", page(K::Channel, kEXP, 40)},
      {"SM", dir(K::DirectoryList, Directory::Individual)},
      {"SG", dir(K::DirectoryList, Directory::Group)},
      {"SM48", dir(K::DirectoryEntry, Directory::Individual, 48)},
      {"SG1", dir(K::DirectoryEntry, Directory::Group, 1)},
  };
  AllGroups f;
  const NavigationTree t = BuildTree(f.session.record, f.session.model);
  for (const auto& row : rows) EXPECT_EQ(t.at(t.IndexOf(row.key)).page, row.want) << row.key;
  for (const TreeNode& node : t.nodes) EXPECT_NE(node.page.kind, K::None) << node.key;
}

TEST(NodeSelection, ClickShowsAnotherNodeOnlyWhenThePendingEntryIsValid) {
  SessionFixture f(1);
  const NavigationTree t = BuildTree(f.session.record, f.session.model);
  NodeSelection sel;
  int asked = 0;
  bool valid = true;
  const auto validate = [&] {
    ++asked;
    return valid;
  };
  const int usable = t.IndexOf("Usable");

  NodeSelection::Step step = sel.SelectNode(t, "general", validate);
  EXPECT_EQ(step.action, NodeSelection::Action::Show);
  EXPECT_EQ(step.index, 1);

  // The node already shown: neither validated nor shown again.
  step = sel.Click(t, 1, validate);
  EXPECT_EQ(step.action, NodeSelection::Action::None);
  EXPECT_EQ(asked, 1);

  valid = false;
  step = sel.Click(t, usable, validate);
  EXPECT_EQ(step.action, NodeSelection::Action::Reselect);
  EXPECT_EQ(step.index, 1);
  EXPECT_EQ(sel.Current(), 1);

  valid = true;
  step = sel.Click(t, usable, validate);
  EXPECT_EQ(step.action, NodeSelection::Action::Show);
  EXPECT_EQ(sel.Current(), usable);

  // After a new-image set-up nothing is current: a refused click has nothing to go back to.
  sel.Forget();
  valid = false;
  EXPECT_EQ(sel.Click(t, usable, validate).action, NodeSelection::Action::None);
  EXPECT_EQ(sel.Current(), -1);
}

TEST(NodeSelection, CurrentNodeIsFoundByItsKeyAfterTheTreeChanged) {
  SessionFixture f(1);
  SettingsRecord& rec = f.session.record;
  NavigationTree t = BuildTree(rec, f.session.model);
  NodeSelection sel;
  const int before = t.IndexOf("PI5");
  sel.Click(t, before, {});

  rec.UsableGroup[kUSA].Usable = false;
  RefreshTree(t, rec, f.session.model);
  EXPECT_EQ(sel.Follow(t), t.IndexOf("PI5"));
  EXPECT_NE(sel.Current(), before);
  // The node that moved into the old place is another node: a click on it shows its page.
  EXPECT_EQ(sel.Click(t, before, {}).action, NodeSelection::Action::Show);

  rec.UsableGroup[kINTL].Usable = rec.UsableGroup[kCanada].Usable = false;
  RefreshTree(t, rec, f.session.model);
  EXPECT_EQ(sel.Follow(t), -1);
  EXPECT_EQ(sel.Current(), -1);
}
