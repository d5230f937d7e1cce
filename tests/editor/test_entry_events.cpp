#include <gtest/gtest.h>

#include <string>

#include "editor/pages/entry_events.h"
#include "recording_ui.h"

using namespace qm47;
using namespace qm47::testing;
using enum EntryField;

namespace {

// One text field on a page, driven the way the window drives it: every event goes to
// the entry rules and the outcome is applied to the record, the field and the user.
struct Page {
  explicit Page(EntryPlace p) : place(p) {
    rec.CHWX.resize(kWeatherChannels);
    text = ShownText(place.field, StoredEntry(rec, place));
  }

  void Apply(const EntryOutcome& out) {
    if (out.store) {
      ASSERT_TRUE(StoreEntry(rec, out.store->place, out.store->value));
    }
    dirty = dirty || out.edited || out.store;
    if (out.show) text = *out.show;
    for (const EntryMessage& m : out.messages) ui.Show(m.Box());
    pending = out.pending;
    focusKept = out.keepFocus;
  }
  EntryFieldState Field() const { return {place, text, pending}; }

  void Type(const std::string& t, bool pageActive = true) {
    text = t;
    Apply(EntryTextChanged(Field(), pageActive));
  }
  // Focus moves to another control: validate, and leave only when it lets go.
  void Tab() {
    const EntryOutcome v = EntryValidate(Field());
    Apply(v);
    if (!v.keepFocus) Apply(EntryFocusLost(Field(), rec));
  }
  // A menu command: the focus stays where it is.
  bool Command(std::optional<ChannelPageEntry> channel = {}) {
    const EntryOutcome out = ValidatePendingEntry({Field(), std::move(channel), "PC Program for TK4100A"});
    Apply(out);
    return out.valid;
  }

  EntryPlace place;
  SettingsRecord rec;
  RecordingUi ui;
  std::string text;
  bool pending = false;
  bool dirty = false;
  bool focusKept = false;
};

const EntryPlace kRx{RxFrequency, 4, kEXP};

}  // namespace

// The hint texts are a column of the rules' table; what matters is that each field shows its own.
TEST(EntryEvents, FocusGainedSelectsAllAndShowsTheFieldsHint) {
  for (const EntryFieldRule& rule : EntryFieldRules()) {
    const EntryOutcome out = EntryFocusGained({{rule.field}, "text", true});
    EXPECT_TRUE(out.selectAll);
    EXPECT_EQ(out.hint, rule.hint);
    EXPECT_TRUE(out.pending);
    EXPECT_FALSE(out.store);
  }
}

TEST(EntryEvents, EachCheckedFieldIsRefusedUnderItsOwnTitle) {
  const std::pair<EntryFieldState, const char*> cases[] = {
      {{{IndividualMmsi, 3}, "12345678", true}, "Individual Directory MMSI"},
      {{{GroupMmsi, 3}, "123456789", true}, "Group Directory MMSI"},
      {{{AtisCode}, "912345678", true}, "ATISNo"},
      {{kRx, "157.010", true}, "Rx frequency"},
      {{{TxFrequency, 4, kEXP}, "174.025", true}, "Tx frequency"},
  };
  for (const auto& [field, title] : cases) {
    const EntryOutcome out = EntryValidate(field);
    ASSERT_EQ(out.messages.size(), 1u) << title;
    EXPECT_EQ(out.messages[0],
              (EntryMessage{"Data Error!!", title, Icon::Exclamation, Buttons::Ok, EntryRuleText(field.place.field)}));
    EXPECT_FALSE(out.valid);
    EXPECT_TRUE(out.keepFocus);
    EXPECT_FALSE(out.store);
  }
}

TEST(EntryEvents, FrequencyLeftSilentlyIsStoredOrTheStoredOneComesBack) {
  Page p(kRx);
  p.rec.CHEXP[4].Rxfreq = 157.025;
  p.text = "157.0250";

  p.Type("157.010");
  p.Apply(EntryFocusLost(p.Field(), p.rec));  // no check, no message
  EXPECT_TRUE(p.ui.shown.empty());
  EXPECT_EQ(p.text, "157.0250");
  EXPECT_EQ(p.rec.CHEXP[4].Rxfreq, 157.025);
  EXPECT_FALSE(p.pending);

  // Checked and stored when the box is left by Tab.
  p.Type("174");
  p.Tab();
  EXPECT_EQ(p.rec.CHEXP[4].Rxfreq, 174.0);
  EXPECT_EQ(p.text, "174.0000");

  // A stored value off the 5 kHz steps comes back snapped, in the record as well.
  p.rec.CHEXP[4].Rxfreq = 157.0031;
  p.Type("1");
  p.Apply(EntryFocusLost(p.Field(), p.rec));
  EXPECT_EQ(p.text, "157.0000");
  EXPECT_EQ(p.rec.CHEXP[4].Rxfreq, 157.0);

  // Without an edit nothing is checked.
  p.text = "garbage";
  p.Apply(EntryFocusLost(p.Field(), p.rec));
  EXPECT_EQ(p.text, "garbage");
}

// Weather names, and typing while a page loads, are the entry outcome's tests.
TEST(EntryEvents, ChannelNamesAndDisplayBoxesAreStoredAtEachChange) {
  Page tag({ChannelTag, 5, kCanada});
  tag.rec.CHCAN.resize(kRegionPositions);
  tag.Type("HARBOUR");
  EXPECT_EQ(tag.rec.CHCAN[5].ChTag, "HARBOUR");
  EXPECT_TRUE(tag.dirty);

  Page disp({DisplayLeft, 39, kEXP});
  disp.Type("1A");
  EXPECT_EQ(disp.rec.CHEXP[39].CHDisplayL, "1A");
}

TEST(EntryEvents, CallSignNumberBecomesThreeDigitsWhenTheBoxIsLeft) {
  Page p({AtisMid, 6});
  p.Type("7");
  EXPECT_EQ(p.rec.AtisCallSign[6].MID, "7");  // as typed, at once
  p.Tab();
  EXPECT_EQ(p.text, "007");
  EXPECT_EQ(p.rec.AtisCallSign[6].MID, "007");

  // Passing through a box already padded is no edit.
  p.dirty = false;
  p.Tab();
  EXPECT_FALSE(p.dirty);

  p.Type("");
  p.Tab();
  EXPECT_EQ(p.text, "");
  EXPECT_EQ(p.rec.AtisCallSign[6].MID, "");

  // Leaving the page pads it as leaving the box does.
  Page mid({AtisMid, 1});
  mid.Type("7");
  mid.Apply(EntryFocusLeftPage(mid.Field(), mid.rec));
  EXPECT_EQ(mid.text, "007");
  EXPECT_EQ(mid.rec.AtisCallSign[1].MID, "007");
  EXPECT_FALSE(mid.pending);
}

TEST(ValidatePendingEntry, EnabledExpansionChannelNeedsAFrequencyAndATwoCharacterDisplay) {
  const EntryMessage refusal{"Data Error!!\nPlease input correct data.", "PC Program for TK4100A", Icon::Exclamation,
                             Buttons::Ok, {}};
  struct Case {
    ChannelPageEntry page;
    bool valid;
    const char* lacking;  // the field the detail names first
  };
  const Case cases[] = {
      {{true, true, "157.0250", "12"}, true, ""},
      {{true, true, "---.----", "12"}, false, "Rx Frequency: "},
      {{true, true, "157.0250", "1"}, false, "CH Display: "},
      {{false, true, "---.----", ""}, true, ""},  // disabled channel
      {{true, false, "---.---", ""}, true, ""},   // plan channel
  };
  for (const Case& c : cases) {
    Page p({ChannelTag, 0, kEXP});
    EXPECT_EQ(p.Command(c.page), c.valid) << c.page.rxText << " " << c.page.displayLeftText;
    EXPECT_EQ(p.ui.shown.size(), c.valid ? 0u : 1u);
    if (!c.valid) {
      EXPECT_EQ(p.ui.shown[0].text, refusal.text);
      EXPECT_EQ(p.ui.shown[0].caption, refusal.caption);
      EXPECT_EQ(p.ui.shown[0].detail.rfind(c.lacking, 0), 0u) << p.ui.shown[0].detail;
    }
  }
}

TEST(ValidatePendingEntry, ReceiveFrequencyIsJudgedAfterItsOwnCheck) {
  const ChannelPageEntry page{true, true, "typed", "12"};

  Page emptied(kRx);
  emptied.rec.CHEXP[4].Rxfreq = 157.025;
  emptied.Type("");  // accepted as no frequency, then refused for the enabled channel
  EXPECT_FALSE(emptied.Command(page));
  EXPECT_EQ(emptied.rec.CHEXP[4].Rxfreq, 0.0);
  EXPECT_EQ(emptied.text, "---.----");
  EXPECT_EQ(emptied.ui.Texts(), std::vector<std::string>{"Data Error!!\nPlease input correct data."});

  Page typed(kRx);
  typed.Type("161.6");
  EXPECT_TRUE(typed.Command(page));
  EXPECT_EQ(typed.text, "161.6000");

  // A refused frequency and a short display name: both are said, the field's first.
  Page wrong(kRx);
  wrong.Type("157.010");
  EXPECT_FALSE(wrong.Command(ChannelPageEntry{true, true, "typed", "1"}));
  ASSERT_EQ(wrong.ui.shown.size(), 2u);
  EXPECT_EQ(wrong.ui.shown[0].caption, "Rx frequency");
  EXPECT_EQ(wrong.ui.shown[1].text, "Data Error!!\nPlease input correct data.");
  EXPECT_TRUE(wrong.focusKept);
}

TEST(ValidatePendingEntry, WithoutAPendingEntryOnlyTheChannelIsChecked) {
  Page p({UserMmsi});
  p.text = "123";  // shown but never typed
  EXPECT_TRUE(p.Command());
  EXPECT_TRUE(p.ui.shown.empty());
  EXPECT_TRUE(ValidatePendingEntry({}).valid);
}
