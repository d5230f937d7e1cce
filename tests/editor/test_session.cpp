// The session's observers, as the window's views come and go while they are told, and what
// the session keeps of the window.
#include <gtest/gtest.h>

#include "editor/pages/page_fill.h"
#include "editor/session/window_place.h"
#include "session_fixture.h"

namespace qm47::testing {
namespace {

TEST(Session, AnObserverForgottenWhileOthersAreToldIsNotToldAfterwards) {
  SessionFixture f(1);
  Session& s = f.session;
  int second = 0;
  int told = 0;
  // The first observer closes the second view, as a page closing another would.
  s.Observe([&](const RecordChange&) { s.Forget(second); });
  second = s.Observe([&](const RecordChange&) { ++told; });
  int third = 0;
  s.Observe([&](const RecordChange&) { ++third; });
  s.Changed(record_area::Common);
  EXPECT_EQ(told, 0);
  EXPECT_EQ(third, 1) << "the others are still told";
}

// Filling a page's controls is no edit, and the steps that follow are named after the page.
TEST(Session, FillingAPageLeavesTheDirtyFlagAsItWasAndNamesTheStepsAfterIt) {
  SessionFixture f(1);
  Session& s = f.session;
  s.flags.dirty = false;
  FillPage(s, true, "USA CH16", [&] { s.flags.dirty = true; });
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_EQ(s.history.Place(), "USA CH16");

  bool filled = false;
  FillPage(s, false, "General", [&] { filled = true; });
  EXPECT_FALSE(filled) << "a minimised window fills nothing";
}

// The preferences file is the user's to edit: what it says about the window is checked.
TEST(Session, TheWindowsStoredPlaceIsTakenOnlyWhenItMakesSense) {
  MemoryPreferenceStore prefs;
  EXPECT_EQ(StoredWindowPlace(prefs).treeShare, kDefaultTreeShare);
  EXPECT_FALSE(StoredWindowPlace(prefs).twips);

  for (const char* share : {"0.9", "-1", "nan", "0.4x"}) {
    prefs.Save("Settings", "MainTreeShare", share);
    EXPECT_EQ(StoredWindowPlace(prefs).treeShare, kDefaultTreeShare) << share;
  }
  prefs.Save("Settings", "MainTreeShare", "0.45");
  EXPECT_EQ(StoredWindowPlace(prefs).treeShare, 0.45);

  const auto twips = [&](const char* left, const char* width) {
    prefs.Save("Settings", "MainLeft", left);
    prefs.Save("Settings", "MainTop", "300");
    prefs.Save("Settings", "MainWidth", width);
    prefs.Save("Settings", "MainHeight", "7500");
    return StoredWindowPlace(prefs).twips;
  };
  EXPECT_EQ(twips("-450", "10500"), (std::array<int, 4>{-450, 300, 10500, 7500}));
  EXPECT_FALSE(twips("450", "0"));
  EXPECT_FALSE(twips("450", "2147483647")) << "would overflow on its way to pixels";
  EXPECT_FALSE(twips("4.5", "10500"));

  StoreWindowPlace(prefs, "AdnQywADAAAA", 0.25);
  EXPECT_EQ(StoredWindowPlace(prefs).geometry, "AdnQywADAAAA");
  EXPECT_FALSE(StoredWindowPlace(prefs).twips) << "replaced once the window has a geometry of its own";
}

}  // namespace
}  // namespace qm47::testing
