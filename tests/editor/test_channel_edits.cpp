#include <gtest/gtest.h>

#include <algorithm>

#include "editor/channel_grid.h"
#include "editor/channel_page.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;
using enum ChannelControl;

namespace {

// The channel page in a window: a tree, and every record change the session tells.
struct ChannelWindow : SessionFixture {
  ChannelWindow() : SessionFixture(1) {
    rec.UsableGroup[kEXP].Usable = true;
    tree = BuildTree(rec, session.model);
    session.Observe([this](const RecordChange& c) { told.push_back(c); });
  }
  ChannelEditResult Click(ChannelRef ch, ChannelControl c, int value) {
    return EditChannel(session, tree, ch, {c, value});
  }

  SettingsRecord& rec = session.record;
  NavigationTree tree;
  std::vector<RecordChange> told;
};

}  // namespace

TEST(ChannelEdits, EachControlStoresItsFieldAndTheGridShowsIt) {
  ChannelWindow w;
  const ChannelRef ch20{kUSA, 40};
  const Channel& ch = w.rec.CHUSA[40];

  ChannelEditResult r = w.Click(ch20, Duplex, 0);
  ASSERT_TRUE(r.applied);
  EXPECT_FALSE(ch.Duplex);
  EXPECT_EQ(r.page->txtCRF.text, "157.000");  // the simplex receive frequency
  EXPECT_EQ(r.treeNode, 0);
  EXPECT_TRUE(w.session.flags.dirty);
  ASSERT_EQ(w.told.size(), 1u);
  EXPECT_EQ(w.told[0].areas, record_area::Channels);
  EXPECT_TRUE(w.told[0].byUser);
  EXPECT_EQ(w.Click(ch20, Duplex, 1).page->txtCRF.text, "161.600");

  w.Click(ch20, ScanMemory, 1);
  EXPECT_TRUE(ch.ScanMemory);
  EXPECT_EQ(w.Click(ch20, Scrambler, 3).page->cmbScramble.index, 3);
  EXPECT_EQ(ch.Scramble, 6);
  w.Click(ch20, Scrambler, 0);
  EXPECT_EQ(ch.Scramble, 2) << "Off clears the on bit only";
  r = w.Click(ch20, LowPowerOnly, 1);
  EXPECT_TRUE(ch.LowPower && ch.TxEnable);
  EXPECT_TRUE(r.page->chkCTXPower.enabled);
  w.Click(ch20, PowerUp, 1);
  EXPECT_TRUE(ch.PowUp);
  r = w.Click(ch20, TxEnable, 0);
  EXPECT_FALSE(ch.TxEnable);
  EXPECT_FALSE(r.page->chkCTXOnly.enabled);

  const ChannelGrid g = ChannelListFor(w.session, kUSA);
  const auto row = std::find_if(g.rows.begin(), g.rows.end(), [](const auto& x) { return x.cells[0] == "20"; });
  ASSERT_NE(row, g.rows.end());
  EXPECT_EQ(row->cells, (std::array<std::string, kChannelGridColumns>{"20", "161.600", "157.000", "--", "LOW", "UP",
                                                                      "DUP", "MEM", "--", "PORT OPR"}));

  w.rec.CHEXP[2].TxEnable = true;
  w.Click({kEXP, 3}, Enable, 1);
  EXPECT_EQ(w.told.back().areas, record_area::Expansion);
  w.Click({kEXP, 3}, LowPowerOnly, 1);
  EXPECT_TRUE(w.rec.CHEXP[2].LowPower && w.rec.CHEXP[2].TxEnable);
}

TEST(ChannelEdits, NothingIsWrittenWhereThePageOffersNoChange) {
  ChannelWindow w;
  w.rec.CHEXP[0].Enable = true;
  const SettingsRecord before = w.rec;
  struct Case {
    ChannelRef ch;
    ChannelControl control;
    int value;
    const char* why;
  };
  const Case cases[] = {
      {{kUSA, 140}, ScanMemory, 1, "channel 70 stays out of the scan"},
      {{kUSA, 140}, TxEnable, 1, "channel 70 only receives"},
      {{kUSA, 140}, Scrambler, 1, "no scrambler on channel 70"},
      {{kUSA, 32}, Scrambler, 1, "no scrambler on channel 16"},
      {{kUSA, 3}, Duplex, 1, "01A has no duplex pair"},
      {{kUSA, 40}, PowerUp, 1, "Low Power Only is off"},
      {{kUSA, 40}, Scrambler, 5, "not an item of the list"},
      {{kUSA, 40}, Enable, 1, "already enabled"},
      {{kUSA, 33}, ScanMemory, 1, "16A is disabled"},
      {{kEXP, 1}, TxEnable, 1, "hidden on expansion channels"},
      {{kEXP, 1}, Duplex, 1, "hidden on expansion channels"},
      {{kUSA, 240}, Enable, 1, "no such entry"},
      {{kEXP, 41}, Enable, 1, "no such entry"},
  };
  for (const Case& c : cases) {
    const ChannelEditResult r = w.Click(c.ch, c.control, c.value);
    EXPECT_FALSE(r.applied) << c.why;
    EXPECT_FALSE(ApplyChannelEdit(w.rec, w.session.model, c.ch, {c.control, c.value})) << c.why;
  }
  EXPECT_TRUE(w.rec == before);
  EXPECT_FALSE(w.session.flags.dirty);
  EXPECT_TRUE(w.told.empty());

  // While the program fills the page, its controls' events change nothing.
  w.session.flags.pageLoading = true;
  const ChannelEditResult r = w.Click({kUSA, 40}, ScanMemory, 1);
  EXPECT_FALSE(r.applied);
  EXPECT_FALSE(r.page->chkCScan.checked);
  EXPECT_TRUE(w.rec == before);
}
