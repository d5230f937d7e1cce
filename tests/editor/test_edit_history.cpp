// Undo and redo over the pages' own edit calls: every state comes back exactly, the
// dirty flag says whether the record is the one on file, and typing makes one step.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "editor/pages/channel_page.h"
#include "editor/pages/directory_pages.h"
#include "editor/pages/setting_edit.h"
#include "editor/documents/settings_file.h"
#include "editor/pages/settings_pages.h"
#include "editor/pages/weather_page.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

struct Editor : SessionFixture {
  Editor() : SessionFixture(1) { session.ForgetEdits(); }

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

  // One user action on a page picked at random, through that page's command call.
  void RandomEdit() {
    switch (Pick(5)) {
      case 0: SettingsPageEdit(); break;
      case 1: {
        const int group = Pick(kGroupCount);
        const int index = group == kEXP ? 1 + Pick(kExpChannels) : Pick(kRegionPositions);
        EditChannel(session, tree, {group, index}, {static_cast<ChannelControl>(Pick(7)), Pick(3)});
        break;
      }
      case 2: EditWeather(session, Pick(kWeatherChannels), static_cast<WeatherControl>(Pick(2)), Pick(2) == 1); break;
      case 3: {
        const Directory which = Pick(2) ? Directory::Individual : Directory::Group;
        const int number = 1 + Pick(4);
        if (Pick(2)) {
          AddDirectoryEntry(session, which, number, true);
        } else {
          ui.answers = {Answer::Yes};
          DeleteDirectoryEntry(session, which, number, true);
        }
        break;
      }
      case 4: TextEdit(); break;
    }
  }

  void SettingsPageEdit() {
    constexpr PageKind kPages[] = {PageKind::Usable, PageKind::Common, PageKind::Dsc, PageKind::Atis};
    const SettingsPageState page = SettingsPageFor(session, kPages[Pick(4)]);
    if (Pick(2) && !page.lists.empty()) {
      const ListControl& list = page.lists[static_cast<std::size_t>(Pick(static_cast<int>(page.lists.size())))];
      if (list.enabled && !list.items.empty()) {
        ApplyEdit(session, tree, ItemChosen(list, Pick(static_cast<int>(list.items.size()))));
      }
    } else if (!page.checks.empty()) {
      const CheckControl& box = page.checks[static_cast<std::size_t>(Pick(static_cast<int>(page.checks.size())))];
      if (box.enabled) ApplyEdit(session, tree, BoxToggled(box, !box.checked));
    }
  }

  void TextEdit() {
    const std::string text(1 + Pick(4), static_cast<char>('A' + Pick(26)));
    const EntryPlace places[] = {{EntryField::StatusName, Pick(kGroupCount)},
                                 {EntryField::ChannelTag, Pick(kRegionPositions), Pick(3)},
                                 {EntryField::AtisMid, Pick(kCallSigns)},
                                 {EntryField::IndividualName, Pick(kIndividualEntries)}};
    ApplyEdit(session, tree, TextStored({places[Pick(4)], {text}}));
  }

  std::mt19937 random;
  NavigationTree tree = BuildTree(session.record, session.model);
};

}  // namespace

TEST(EditHistory, UndoAndRedoBringBackEveryStateExactlyAndTheDirtyFlagFollows) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    Editor e;
    e.random.seed(seed);
    Session& s = e.session;
    // What the user has seen, in order: states[done] is the record now.
    std::vector<SettingsRecord> states{s.record};
    std::size_t done = 0;
    constexpr std::size_t kNotReachable = SIZE_MAX;
    std::size_t saved = 0;
    int edits = 0;

    for (int op = 0; op < 400; ++op) {
      const int kind = e.Pick(20);
      SCOPED_TRACE("seed " + std::to_string(seed) + ", operation " + std::to_string(op));
      if (kind < 12) {
        const SettingsRecord before = s.record;
        e.RandomEdit();
        if (s.record == before) continue;
        ++edits;
        EXPECT_TRUE(s.flags.dirty);
        states.resize(done + 1);
        if (saved != kNotReachable && saved > done) saved = kNotReachable;
        states.push_back(s.record);
        ++done;
      } else if (kind < 16) {
        const bool stepped = s.Undo();
        ASSERT_EQ(stepped, done > 0);
        if (stepped) --done;
        ASSERT_EQ(s.record, states[done]);
        if (stepped) {
          EXPECT_EQ(s.flags.dirty, saved != done);
        }
      } else if (kind < 19) {
        const bool stepped = s.Redo();
        ASSERT_EQ(stepped, done + 1 < states.size());
        if (stepped) ++done;
        ASSERT_EQ(s.record, states[done]);
        if (stepped) {
          EXPECT_EQ(s.flags.dirty, saved != done);
        }
      } else {
        const bool dirty = s.flags.dirty;
        ASSERT_TRUE(SaveSettingsFile(s, e.dir / "saved.dat"));
        EXPECT_EQ(s.flags.dirty, dirty) << "saving itself leaves the flag";
        saved = done;
      }
    }
    EXPECT_GT(edits, 100) << "most random edits change something";
    while (s.Undo()) {}
    EXPECT_EQ(s.record, states[0]);
  }
}

TEST(EditHistory, OneStretchOfTypingIsOneStepNamedAfterItsPage) {
  Editor e;
  Session& s = e.session;
  const std::string original = s.record.CHUSA[32].ChTag;
  const auto type = [&](const std::string& text, std::string_view stretch) {
    s.Edit(record_area::Channels, [&](SettingsRecord& r) { r.CHUSA[32].ChTag = text; }, stretch);
  };

  s.history.SetPlace("CH16");
  type("A", "tag 1");
  type("AB", "tag 1");
  type("ABC", "tag 1");
  EXPECT_EQ(s.history.UndoName(), "CH16");
  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHUSA[32].ChTag, original);
  EXPECT_FALSE(s.history.CanUndo());
  ASSERT_TRUE(s.Redo());
  EXPECT_EQ(s.record.CHUSA[32].ChTag, "ABC");

  // After an undo or redo, and in another stretch of the same box, typing starts a step.
  type("ABCD", "tag 1");
  type("ABCDE", "tag 2");
  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHUSA[32].ChTag, "ABCD");
  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHUSA[32].ChTag, "ABC");

  // Typed and rubbed out again: no step is left of it.
  type("ABCX", "tag 3");
  type("ABC", "tag 3");
  ASSERT_TRUE(s.Undo());
  EXPECT_EQ(s.record.CHUSA[32].ChTag, original);
}
