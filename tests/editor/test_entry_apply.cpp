// An entry outcome carried out on the session: the undo steps typing makes, what the
// views are told, and the dirty flag.
#include <gtest/gtest.h>

#include <vector>

#include "editor/pages/entry_apply.h"
#include "session_fixture.h"

namespace qm47::testing {
namespace {

using enum EntryField;

struct Typist : SessionFixture {
  Typist() {
    session.ForgetEdits();
    session.Observe([this](const RecordChange& change) { told.push_back(change); });
  }

  void Focus(EntryPlace place) { ApplyEntryOutcome(session, EntryFocusGained({place, "", false})); }
  void Type(EntryPlace place, const std::string& text) {
    ApplyEntryOutcome(session, EntryTextChanged({place, text, false}, true));
  }
  // The check a command runs first, with `text` typed and not yet stored.
  bool Command(EntryPlace place, const std::string& text) {
    return ApplyEntryOutcome(session, ValidatePendingEntry({EntryFieldState{place, text, true}, std::nullopt, ""}));
  }

  std::vector<RecordChange> told;
};

TEST(ApplyEntryOutcome, EachStretchOfTypingInOneFieldIsOneUndoStep) {
  Typist t;
  Session& s = t.session;
  const EntryPlace wx2{WeatherTag, 2};
  const EntryPlace wx3{WeatherTag, 3};
  const std::string before2 = s.record.CHWX[2].ChTag;
  const std::string before3 = s.record.CHWX[3].ChTag;

  t.Focus(wx2);
  for (const char* text : {"N", "NO", "NOAA"}) t.Type(wx2, text);
  t.Focus(wx2);  // left and came back: a new stretch
  t.Type(wx2, "NOAA 2");
  t.Type(wx3, "KEY WEST");  // set without the focus, as assistive technology may
  ASSERT_EQ(s.record.CHWX[2].ChTag, "NOAA 2");

  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHWX[3].ChTag, before3) << "another field is a step of its own";
  EXPECT_EQ(s.record.CHWX[2].ChTag, "NOAA 2");
  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHWX[2].ChTag, "NOAA");
  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHWX[2].ChTag, before2);
  EXPECT_FALSE(s.history.CanUndo());
}

TEST(ApplyEntryOutcome, TheViewsAndTheUndoStepRedrawOnlyTheStoredFieldsArea) {
  struct Case {
    EntryPlace place;
    const char* text;
    unsigned area;
  };
  const Case cases[] = {
      {{IndividualName, 0}, "SEA WITCH", record_area::Directories},
      {{StatusName, 1}, "AB", record_area::Usable},
      {{RxFrequency, 4, kEXP}, "157.025", record_area::Expansion},
  };
  for (const Case& c : cases) {
    Typist t;
    EXPECT_TRUE(t.Command(c.place, c.text)) << c.text;
    ASSERT_EQ(t.told.size(), 1u) << c.text;
    EXPECT_EQ(t.told.back().areas, c.area) << c.text;
    EXPECT_TRUE(t.told.back().byUser);
    ASSERT_TRUE(t.session.Undo());
    EXPECT_EQ(t.told.back().areas, c.area) << c.text;
  }
}

TEST(ApplyEntryOutcome, TypingIsUnsavedBeforeItIsStoredAndNothingReachesTheRecordWhileAPageLoads) {
  Typist t;
  Session& s = t.session;
  t.Type({UserMmsi}, "366");  // stored only when the box is left
  EXPECT_TRUE(s.flags.dirty);
  EXPECT_TRUE(t.told.empty());
  EXPECT_FALSE(s.history.CanUndo());

  s.ForgetEdits();
  const SettingsRecord before = s.record;
  {
    const PageLoading filling(s.flags);
    {
      const PageLoading redrawing(s.flags);  // a row drawn again inside the fill
    }
    EXPECT_TRUE(s.flags.pageLoading) << "the inner draw leaves the fill's flag raised";
    EXPECT_FALSE(ApplyEntryOutcome(s, EntryTextChanged({{WeatherTag, 1}, "FILLED", false}, true)));
  }
  EXPECT_FALSE(s.flags.pageLoading);
  EXPECT_EQ(s.record, before);
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_FALSE(s.history.CanUndo());
}

}  // namespace
}  // namespace qm47::testing
