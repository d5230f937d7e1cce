#include <gtest/gtest.h>

#include <algorithm>

#include "editor/pages/channel_grid.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

using Cells = std::array<std::string, kChannelGridColumns>;

// The row whose "CH" cell reads `ch`; all empty when there is none.
Cells RowOf(const ChannelGrid& g, const std::string& ch) {
  const auto it = std::find_if(g.rows.begin(), g.rows.end(), [&](const auto& r) { return r.cells[0] == ch; });
  return it == g.rows.end() ? Cells{} : it->cells;
}

}  // namespace

TEST(ChannelListGrid, FreshPlanListsItsEnabledChannelsWithTheirTexts) {
  SessionFixture f(1);
  const ChannelGrid g = ChannelListFor(f.session, kUSA);

  // The USA plan enables 51 channels; disabled ones (16A) have no row.
  ASSERT_EQ(g.rows.size(), 51u);
  EXPECT_EQ(g.rows.front().cells[0], "01A");
  EXPECT_EQ(g.rows.back().cells[0], "88A");
  EXPECT_EQ(RowOf(g, "16A")[0], "");

  EXPECT_EQ(RowOf(g, "16"), (Cells{"16", "156.800", "156.800", "TX", "---", "--", "---", "---", "--", "DISTRESS"}));
  // Duplex: received on the duplex frequency.
  EXPECT_EQ(RowOf(g, "20"), (Cells{"20", "161.600", "157.000", "TX", "---", "--", "DUP", "---", "--", "PORT OPR"}));
  // Receive-only: no transmit frequency, no TX.
  EXPECT_EQ(RowOf(g, "70"), (Cells{"70", "156.525", "---.---", "--", "---", "--", "---", "---", "--", "DSC"}));
  EXPECT_EQ(RowOf(g, "13")[4], "LOW");
}

TEST(ChannelListGrid, RowsFollowTheRecordAndJumpToTheirChannelNode) {
  SessionFixture f(1);
  SettingsRecord& rec = f.session.record;
  Channel& ch22 = rec.CHINT[44];
  ch22.LowPower = ch22.PowUp = ch22.ScanMemory = true;
  ch22.Scramble = 6;
  ch22.ChTag = "HARBOUR";
  rec.CHINT[32].Enable = false;  // 16
  rec.CHINT[1].Enable = true;    // 00A, which the plan leaves off

  ChannelGrid g = ChannelListFor(f.session, kINTL);
  EXPECT_EQ(RowOf(g, "22"), (Cells{"22", "161.700", "157.100", "TX", "LOW", "UP", "DUP", "MEM", " 2", "HARBOUR"}));
  EXPECT_EQ(RowOf(g, "16")[0], "");
  ASSERT_EQ(g.rows.front().cells[0], "00A");

  // A row leads to the node of its channel (that the page shows it is the window's test).
  EXPECT_EQ(ChannelGridJump(g, 0), "PI1");
  EXPECT_EQ(ChannelGridJump(g, -1), "");
  EXPECT_EQ(ChannelGridJump(g, static_cast<int>(g.rows.size())), "");

  // A plan with nothing enabled: the header row only.
  for (Channel& ch : rec.CHCAN) ch.Enable = false;
  g = ChannelListFor(f.session, kCanada);
  EXPECT_TRUE(g.rows.empty());
  EXPECT_EQ(g.columns[9].header, "CH Name");
}

TEST(ChannelListGrid, ExpansionListShowsAllFortyAndSnapsTheirFrequenciesWithoutAnEdit) {
  SessionFixture f(1);
  SettingsRecord& rec = f.session.record;
  Channel& e2 = rec.CHEXP[1];
  e2.Enable = e2.ScanMemory = true;
  e2.CHDisplayL = "12";
  e2.CHDisplayR = "A";
  e2.Rxfreq = 157.0031;  // off the 5 and 12.5 kHz steps
  e2.Txfreq = 156.0125;  // on a 12.5 kHz step
  e2.Scramble = 5;
  e2.ChTag = "MARINA";
  std::vector<RecordChange> told;
  f.session.Observe([&](const RecordChange& c) { told.push_back(c); });

  const ChannelGrid g = ChannelListFor(f.session, kEXP);
  ASSERT_EQ(g.rows.size(), 40u);
  EXPECT_EQ(g.rows[0].cells, (Cells{"1", "------", "", "---.----", "---.----", "---", "--", "---", "--", ""}));
  EXPECT_EQ(g.rows[1].cells, (Cells{"2", "ENABLE", "12A", "157.0000", "156.0125", "---", "--", "MEM", " 1", "MARINA"}));
  EXPECT_EQ(ChannelGridJump(g, 39), "E40");

  EXPECT_DOUBLE_EQ(e2.Rxfreq, 157.0);
  EXPECT_DOUBLE_EQ(e2.Txfreq, 156.0125);
  EXPECT_FALSE(f.session.flags.dirty);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_FALSE(told[0].byUser);
  ChannelListFor(f.session, kEXP);
  EXPECT_EQ(told.size(), 1u) << "nothing left to snap, nothing to tell";
}
