#include <gtest/gtest.h>

#include "editor/pages/directory_pages.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;
using enum Directory;

namespace {

struct Directories : SessionFixture {
  Directories() : SessionFixture(1) {}

  // Entries 1..count in use, each with a name and an MMSI that say which entry it was.
  void Fill(Directory which, int count) {
    auto& list = Entries(session.record, which);
    for (int k = 0; k < count; ++k) {
      list[static_cast<std::size_t>(k)] = {true, "SHIP" + std::to_string(k + 1), Mmsi(k + 1)};
    }
  }
  static std::string Mmsi(int entry) { return std::to_string(211000000 + entry) + "0"; }

  // "Add" / "Delete": checked, enabled.
  static std::pair<bool, bool> Add(const DirectoryEntryState& p) { return {p.add.checked, p.add.enabled}; }
  static std::pair<bool, bool> Delete(const DirectoryEntryState& p) { return {p.remove.checked, p.remove.enabled}; }
  DirectoryEntryState Page(Directory which, int number) const {
    return DirectoryEntryFor(session.record, which, number);
  }
};

}  // namespace

TEST(DirectoryEntry, EmptyDirectoryOffersOnlyEntryOne) {
  Directories f;
  ASSERT_EQ(CountInUse(f.session.record, Individual), 0);

  DirectoryEntryState one = f.Page(Individual, 1);
  EXPECT_EQ(f.Add(one), std::pair(false, true));
  EXPECT_EQ(f.Delete(one), std::pair(true, false));
  EXPECT_FALSE(one.name.enabled);
  EXPECT_FALSE(one.mmsi.enabled);
  const DirectoryEntryState two = f.Page(Individual, 2);
  EXPECT_EQ(f.Add(two), std::pair(false, false));
  EXPECT_EQ(f.Delete(two), std::pair(true, false));

  // Nothing but entry 1 can be added, nothing deleted, and no question is asked.
  EXPECT_FALSE(AddDirectoryEntry(f.session, Individual, 2, true));
  EXPECT_FALSE(DeleteDirectoryEntry(f.session, Individual, 1, true));
  EXPECT_FALSE(AddDirectoryEntry(f.session, Individual, 1, false));  // unchecking is no add
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_FALSE(f.session.flags.dirty);
  EXPECT_EQ(CountInUse(f.session.record, Individual), 0);

  EXPECT_TRUE(AddDirectoryEntry(f.session, Individual, 1, true));
  EXPECT_TRUE(f.session.flags.dirty);
  one = f.Page(Individual, 1);
  EXPECT_EQ(f.Add(one), std::pair(true, false));
  EXPECT_EQ(f.Delete(one), std::pair(false, true));
  EXPECT_TRUE(one.name.enabled);
  EXPECT_TRUE(one.mmsi.enabled);
  // The new entry has no MMSI yet, so the next one cannot follow.
  EXPECT_EQ(f.Add(f.Page(Individual, 2)), std::pair(false, false));
}

TEST(DirectoryEntry, FullDirectoryNeverReachesPastItsLastEntry) {
  for (const auto& [which, size] : {std::pair{Individual, kIndividualEntries}, std::pair{Group, kGroupEntries}}) {
    Directories f;
    f.Fill(which, size);
    EXPECT_EQ(CountInUse(f.session.record, which), size);
    for (int n = 1; n <= size; ++n) {
      EXPECT_EQ(f.Add(f.Page(which, n)), std::pair(true, false)) << n;
      EXPECT_EQ(f.Delete(f.Page(which, n)), std::pair(false, true)) << n;
    }
    // Past the end: no page to add on, no node to go to.
    const DirectoryEntryState past = f.Page(which, size + 1);
    EXPECT_FALSE(past.add.enabled || past.remove.enabled || past.name.enabled || past.mmsi.enabled);
    EXPECT_FALSE(AddDirectoryEntry(f.session, which, size + 1, true));
    EXPECT_FALSE(DeleteDirectoryEntry(f.session, which, size + 1, true));
    EXPECT_EQ(DirectoryRowNode(f.session.record, which, size + 1), "");
    EXPECT_EQ(DirectoryRowNode(f.session.record, which, 0), "");  // the header row
    EXPECT_EQ(DirectoryRowNode(f.session.record, which, size), DirectoryNodeKey(which, size));

    // Delete asks first; No keeps the entry and Enter answers No.
    f.ui.answers = {Answer::No};
    EXPECT_FALSE(DeleteDirectoryEntry(f.session, which, 1, true));
    EXPECT_EQ(CountInUse(f.session.record, which), size);
    ASSERT_EQ(f.ui.Texts(), std::vector<std::string>{"Are you sure ?"});
    EXPECT_EQ(f.ui.shown[0].caption, f.session.model.title);
    EXPECT_EQ(f.ui.shown[0].icon, Icon::Critical);
    EXPECT_EQ(f.ui.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(f.ui.shown[0].defaultButton, DefaultButton::Second);

    f.ui.answers = {Answer::Yes};
    const DirectoryEntry last = Entries(f.session.record, which).back();
    EXPECT_TRUE(DeleteDirectoryEntry(f.session, which, 1, true));
    const auto& list = Entries(f.session.record, which);
    EXPECT_EQ(list[static_cast<std::size_t>(size - 2)], last);
    EXPECT_EQ(list.back(), DirectoryEntry{});
    EXPECT_EQ(f.Add(f.Page(which, size)), std::pair(false, true));  // the freed entry can be added again
  }
}

TEST(DirectoryEntry, GroupEntryShowsItsMmsiAfterTheFixedZero) {
  Directories f;
  f.session.record.CHGRPID[0] = {true, "FLEET", "0123456780"};
  const DirectoryEntryState group = f.Page(Group, 1);
  EXPECT_EQ(group.mmsi.text, "12345678");
  EXPECT_EQ(group.mmsi.maxLength, 8);
  EXPECT_EQ(group.mmsi.place, (EntryPlace{EntryField::GroupMmsi, 0}));
  EXPECT_TRUE(group.groupDigit.visible);
  EXPECT_EQ(std::vector({group.add.helpContext, group.name.helpContext, group.mmsi.helpContext}),
            std::vector({1069, 1070, 1071}));

  const DirectoryEntryState individual = f.Page(Individual, 1);
  EXPECT_FALSE(individual.groupDigit.visible);
  EXPECT_EQ(individual.mmsi.maxLength, 9);
  EXPECT_EQ(std::vector({individual.remove.helpContext, individual.name.helpContext, individual.mmsi.helpContext}),
            std::vector({1049, 1050, 1051}));
}

TEST(DirectoryList, GridShowsEveryEntryInUseOrNot) {
  Directories f;
  f.Fill(Individual, 3);
  const DirectoryListState grid = DirectoryListFor(f.session.record, Individual);
  ASSERT_EQ(grid.rows.size(), 48u);
  EXPECT_EQ(grid.rows[2], (std::array<std::string, 3>{"3", "SHIP3", "211000003"}));
  EXPECT_EQ(grid.rows[47], (std::array<std::string, 3>{"48", "", "---------"}));

  const DirectoryListState groups = DirectoryListFor(f.session.record, Group);
  EXPECT_EQ(groups.rows.size(), 10u);
}
