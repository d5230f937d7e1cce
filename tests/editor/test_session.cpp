// The session's observers, as the window's views come and go while they are told.
#include <gtest/gtest.h>

#include "editor/pages/page_fill.h"
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

}  // namespace
}  // namespace qm47::testing
