#include <gtest/gtest.h>

#include "editor/pages/channel_grid.h"
#include "editor/pages/channel_page.h"
#include "editor/pages/channel_texts.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;
using enum ChannelControl;

namespace {

std::vector<const ControlState*> Controls(const ChannelPageState& st) {
  return {&st.txtCN[0], &st.txtCN[1], &st.txtCRF,   &st.txtCTF,    &st.chkCEnable,  &st.chkCTXEnable,
          &st.chkCTXOnly, &st.chkCTXPower, &st.chkCDup, &st.chkCScan, &st.cmbScramble, &st.txtCTag};
}

// Names of the controls a user can reach, in page order.
std::string Reachable(const ChannelPageState& st) {
  std::string names;
  for (const ControlState* c : Controls(st))
    if (c->visible && c->enabled) names += (names.empty() ? "" : " ") + c->name;
  return names;
}

std::string Hidden(const ChannelPageState& st) {
  std::string names;
  for (const ControlState* c : Controls(st))
    if (!c->visible) names += (names.empty() ? "" : " ") + c->name;
  return names;
}

std::string Describe(const TextBoxState& t) {
  return t.name + " '" + t.caption + "' " + t.text + (t.unit.empty() ? "" : " " + t.unit) +
         (t.readOnly ? " read-only" : "");
}
std::string Describe(const CheckBoxState& c) { return c.name + " '" + c.caption + "' " + (c.checked ? "[x]" : "[ ]"); }
std::string Describe(const ListState& l) { return l.name + " '" + l.caption + "' " + l.items.at(l.index); }

std::vector<std::string> Describe(const ChannelPageState& st) {
  return {Describe(st.txtCN[0]),     Describe(st.txtCN[1]),    Describe(st.txtCRF),      Describe(st.txtCTF),
          Describe(st.chkCEnable),   Describe(st.chkCTXEnable), Describe(st.chkCTXOnly), Describe(st.chkCTXPower),
          Describe(st.chkCDup),      Describe(st.chkCScan),    Describe(st.cmbScramble), Describe(st.txtCTag)};
}

struct Page : SessionFixture {
  explicit Page(int model = 1) : SessionFixture(model) {}
  ChannelPageState Of(ChannelRef ch) {
    const auto st = BuildChannelPage(session.record, session.model, ch);
    EXPECT_TRUE(st);
    return st.value_or(ChannelPageState{});
  }
  SettingsRecord& rec = session.record;
};

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

TEST(ChannelDisplay, PlanNumbersReadAsTheRadiosTwoCharacters) {
  EXPECT_EQ(PlanChannelDisplay("16"), (ChannelDisplay{"16", ""}));
  EXPECT_EQ(PlanChannelDisplay("7"), (ChannelDisplay{"07", ""}));
  EXPECT_EQ(PlanChannelDisplay("100"), (ChannelDisplay{"o0", ""}));
  EXPECT_EQ(PlanChannelDisplay("109A"), (ChannelDisplay{"o9", "A"}));
  EXPECT_EQ(PlanChannelDisplay("110"), (ChannelDisplay{"'0", ""}));
  EXPECT_EQ(PlanChannelDisplay("01A"), (ChannelDisplay{"01", "A"}));
  EXPECT_EQ(PlanChannelDisplay("22a"), (ChannelDisplay{"22", "a"}));

  // On the page, from the entry's row of the built-in table.
  Page p;
  EXPECT_EQ(p.Of({kUSA, 210}).txtCN[0].text, "o5");
  const ChannelPageState ch119a = p.Of({kCanada, 239});
  EXPECT_EQ(ch119a.txtCN[0].text + ch119a.txtCN[1].text, "'9A");
}

TEST(ChannelPage, PlanChannelShowsItsTableRowInReadOnlyBoxes) {
  Page p;
  const ChannelPageState st = p.Of({kUSA, 40});  // channel 20, duplex
  EXPECT_FALSE(st.expansion);
  EXPECT_EQ(st.nodeKey, "PU40");
  EXPECT_EQ(Describe(st), (std::vector<std::string>{
                              "txtCN_0 'CH Display' 20 read-only",
                              "txtCN_1 'CH Display suffix'  read-only",
                              "txtCRF 'Rx Frequency' 161.600 MHz read-only",
                              "txtCTF 'Tx Frequency' 157.000 MHz read-only",
                              "chkCEnable 'CH Enable' [x]",
                              "chkCTXEnable 'Tx Enable' [x]",
                              "chkCTXOnly 'Low Power Only' [ ]",
                              "chkCTXPower 'Power Up' [ ]",
                              "chkCDup 'Duplex' [x]",
                              "chkCScan 'Scan Memory' [ ]",
                              "cmbScramble 'Scrambler' Off",
                              "txtCTag 'CH Name' PORT OPR",
                          }));
  EXPECT_EQ(Hidden(st), "");
  EXPECT_EQ(st.cmbScramble.items, (std::vector<std::string>{"Off", "0", "1", "2", "3"}));

  p.rec.CHUSA[40].Scramble = 7;
  EXPECT_EQ(p.Of({kUSA, 40}).cmbScramble.index, 4);  // code 3
  p.rec.CHUSA[40].Scramble = 3;                       // bit 2 clear: off, whatever the code
  EXPECT_EQ(p.Of({kUSA, 40}).cmbScramble.index, 0);

  // Duplex set where the table row has no duplex pair (01A): nothing to receive on.
  p.rec.CHUSA[3].Duplex = true;
  EXPECT_EQ(p.Of({kUSA, 3}).txtCRF.text, "---.---");
  EXPECT_FALSE(BuildChannelPage(p.rec, p.session.model, {kUSA, 240}));
}

TEST(ChannelPage, ExpansionChannelEditsItsDisplayAndFrequencies) {
  Page p;
  Channel& e2 = p.rec.CHEXP[1];
  e2.Enable = e2.TxEnable = true;
  e2.CHDisplayL = "12";
  e2.CHDisplayR = "A";
  e2.Rxfreq = 157.0031;
  e2.ChTag = "MARINA";

  const ChannelPageState st = *ChannelPageFor(p.session, {kEXP, 2});
  EXPECT_TRUE(st.expansion);
  EXPECT_EQ(st.nodeKey, "E2");
  EXPECT_EQ(Describe(st), (std::vector<std::string>{
                              "txtCN_0 'CH Display' 12",
                              "txtCN_1 'CH Display suffix' A",
                              "txtCRF 'Rx Frequency' 157.0000 MHz",
                              "txtCTF 'Tx Frequency' ---.---- MHz",
                              "chkCEnable 'CH Enable' [x]",
                              "chkCTXEnable 'Tx Enable' [x]",
                              "chkCTXOnly 'Low Power Only' [ ]",
                              "chkCTXPower 'Power Up' [ ]",
                              "chkCDup 'Duplex' [ ]",
                              "chkCScan 'Scan Memory' [ ]",
                              "cmbScramble 'Scrambler' Off",
                              "txtCTag 'CH Name' MARINA",
                          }));
  EXPECT_EQ(Hidden(st), "chkCTXEnable chkCDup");
  EXPECT_FALSE(st.lineToLowPower.visible);
  // Opening the page snapped the stored frequency to what the box shows; not an edit.
  EXPECT_DOUBLE_EQ(e2.Rxfreq, 157.0);
  EXPECT_FALSE(p.session.flags.dirty);
}

TEST(ChannelPage, EnablingRulesFollowEnableTransmitAndTheSpecialChannels) {
  Page p;
  const ChannelRef ch20{kUSA, 40};
  ChannelPageState st = p.Of(ch20);
  EXPECT_EQ(Reachable(st), "txtCN_0 txtCN_1 txtCRF txtCTF chkCEnable chkCTXEnable chkCTXOnly chkCDup chkCScan "
                           "cmbScramble txtCTag");
  EXPECT_EQ(st.lineToLowPower.colour, LineColour::WindowText);
  EXPECT_EQ(st.lineToPowerUp.colour, LineColour::InactiveTitle);

  p.rec.CHUSA[40].LowPower = true;  // "Power Up" follows "Low Power Only"
  st = p.Of(ch20);
  EXPECT_TRUE(st.chkCTXPower.enabled);
  EXPECT_EQ(st.lineToPowerUp.colour, LineColour::WindowText);

  p.rec.CHUSA[40].TxEnable = false;  // and both follow "Tx Enable", checked or not
  st = p.Of(ch20);
  EXPECT_FALSE(st.chkCTXOnly.enabled);
  EXPECT_TRUE(st.chkCTXOnly.checked);
  EXPECT_FALSE(st.chkCTXPower.enabled);
  EXPECT_EQ(st.lineToLowPower.colour, LineColour::InactiveTitle);
  EXPECT_EQ(st.lineToPowerUp.colour, LineColour::InactiveTitle);

  p.rec.CHUSA[40].Enable = false;
  EXPECT_EQ(Reachable(p.Of(ch20)), "chkCEnable");

  // Channel 16: no scrambler on the distress channel.
  EXPECT_EQ(Reachable(p.Of({kUSA, 32})),
            "txtCN_0 txtCN_1 txtCRF txtCTF chkCEnable chkCTXEnable chkCTXOnly chkCDup chkCScan txtCTag");
  // Channel 70: receive-only DSC channel, out of the scan, no scrambler, no duplex pair.
  st = p.Of({kUSA, 140});
  EXPECT_EQ(Reachable(st), "txtCN_0 txtCN_1 txtCRF txtCTF chkCEnable txtCTag");
  EXPECT_FALSE(st.chkCTXEnable.checked);
  EXPECT_EQ(st.txtCTF.text, "---.---");
  // An "A" channel has no duplex pair.
  EXPECT_FALSE(p.Of({kUSA, 3}).chkCDup.enabled);

  // Expansion: the hidden "Tx Enable" still rules "Low Power Only".
  Channel& e1 = p.rec.CHEXP[0];
  e1.Enable = true;
  EXPECT_EQ(Reachable(p.Of({kEXP, 1})), "txtCN_0 txtCN_1 txtCRF txtCTF chkCEnable chkCScan cmbScramble txtCTag");
  e1.TxEnable = true;
  EXPECT_TRUE(p.Of({kEXP, 1}).chkCTXOnly.enabled);
  e1.Enable = false;
  EXPECT_EQ(Reachable(p.Of({kEXP, 1})), "chkCEnable");
}

TEST(ChannelPage, ScramblerOnlyOnScramblerModels) {
  Page p(2);
  p.rec.CHUSA[40].Scramble = 6;
  EXPECT_EQ(Hidden(p.Of({kUSA, 40})), "cmbScramble");
  EXPECT_EQ(Hidden(p.Of({kEXP, 1})), "chkCTXEnable chkCDup cmbScramble");
  const ChannelGrid g = ChannelListFor(p.session, kUSA);
  for (const ChannelGridRow& row : g.rows) EXPECT_EQ(row.cells[8], "") << row.cells[0];
  EXPECT_FALSE(ApplyChannelEdit(p.rec, p.session.model, {kUSA, 40}, {Scrambler, 0}));
  EXPECT_EQ(p.rec.CHUSA[40].Scramble, 6);
}

TEST(ChannelEdits, EachControlStoresItsFieldAndThePageShowsIt) {
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

  w.rec.CHEXP[2].TxEnable = true;
  w.Click({kEXP, 3}, Enable, 1);
  EXPECT_EQ(w.told.back().areas, record_area::Expansion);
  w.Click({kEXP, 3}, LowPowerOnly, 1);
  EXPECT_TRUE(w.rec.CHEXP[2].LowPower && w.rec.CHEXP[2].TxEnable);
}

// Which boxes a channel offers is the enabling rules' test; one box of each kind of refusal here.
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
      {{kUSA, 32}, Scrambler, 1, "no scrambler on channel 16"},
      {{kUSA, 40}, Scrambler, 5, "not an item of the list"},
      {{kUSA, 40}, Enable, 1, "already enabled"},
      {{kEXP, 1}, TxEnable, 1, "hidden on expansion channels"},
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
}
