#include <gtest/gtest.h>

#include "editor/documents/destinations.h"
#include "editor/documents/image_file.h"
#include "editor/session/startup.h"
#include "model/codec.h"
#include "session_fixture.h"

using namespace qm47;
using qm47::testing::SessionFixture;

namespace {

// A regional default image of `model` whose channel 16 is named `tag`.
std::string Regional(int model, const std::string& tag) {
  SettingsRecord rec;
  MemoryImage img;
  NewImageData(rec, img, model);
  rec.CHUSA[32].ChTag = tag;
  EncodeImage(rec, img, model);
  return std::string(img.bytes().begin(), img.bytes().end());
}

const std::string& Channel16(const Session& s) { return s.record.CHUSA[32].ChTag; }

std::string Remembered(const SessionFixture& f) { return f.prefs.Get("IniFilePath", "IniFileName_1", "(none)"); }

// A model-1 folder offering EUR and USA, with USA loaded at start-up.
struct TwoDestinations : SessionFixture {
  TwoDestinations() {
    dir.Write("usa_1004.ini", Regional(1, "USA-16"));
    dir.Write("EUR_1004.ini", Regional(1, "EUR-16"));
    NewImageSetup(session, menu);
  }
  DestinationMenu menu;
};

}  // namespace

TEST(ScanDestinations, OffersAtMostTenNames) {
  SessionFixture f(1);
  for (int i = 0; i < 11; ++i) f.dir.Write("D" + std::to_string(i) + "_1004.ini", "x");
  DestinationMenu menu;
  EXPECT_FALSE(ScanDestinations(f.session, menu));
  EXPECT_TRUE(menu.enabled);
  EXPECT_EQ(menu.names.size(), 10u);
  EXPECT_TRUE(std::is_sorted(menu.names.begin(), menu.names.end()));
  EXPECT_EQ(menu.checked, -1);
}

TEST(ScanDestinations, LoadsTheRememberedDestinationSilently) {
  SessionFixture f(1);
  Session& s = f.session;
  f.dir.Write("usa_1004.ini", Regional(1, "USA-16"));
  f.dir.Write("EUR_1004.INI", Regional(1, "EUR-16"));
  f.dir.Write("BAD_1004.ini", Regional(2, "MODEL2"));
  f.dir.Write("usa_old_1004.ini", "x");  // a second "USA" entry would load USA_1004.ini too
  f.dir.Write("_1004.ini", "x");         // no name to show
  DestinationMenu menu;

  // Nothing remembered: "usa" finds the lower-case file.
  EXPECT_TRUE(NewImageSetup(s, menu));
  EXPECT_EQ(menu.names, (std::vector<std::string>{"BAD", "EUR", "USA"}));
  EXPECT_EQ(menu.checked, 2);
  EXPECT_EQ(Channel16(s), "USA-16");

  f.prefs.Save("IniFilePath", "IniFileName_1", "eur");
  EXPECT_TRUE(NewImageSetup(s, menu));
  EXPECT_EQ(menu.checked, 1);
  EXPECT_EQ(Channel16(s), "EUR-16");

  // A 16384-byte file of another model, or a name no longer offered: the model's defaults.
  for (const char* remembered : {"bad", "GONE"}) {
    f.prefs.Save("IniFilePath", "IniFileName_1", remembered);
    EXPECT_FALSE(NewImageSetup(s, menu)) << remembered;
    EXPECT_EQ(menu.checked, -1);
    EXPECT_TRUE(menu.enabled);
    EXPECT_EQ(Channel16(s), "DISTRESS");
  }
  EXPECT_TRUE(f.ui.shown.empty());

  SetModel(s, 3);  // no destination of its own: the menu is off
  EXPECT_FALSE(NewImageSetup(s, menu));
  EXPECT_FALSE(menu.enabled);
  EXPECT_TRUE(menu.names.empty());
}

TEST(SelectDestination, AsksFirstAndCancelChangesNothing) {
  TwoDestinations f;
  Session& s = f.session;
  ASSERT_EQ(f.menu.checked, 1);
  s.record.CHUSA[32].ChTag = "EDITED";
  s.flags.dirty = true;

  f.ui.answers = {Answer::Cancel};
  EXPECT_EQ(SelectDestination(s, f.menu, 0), DestinationChange::Unchanged);
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Do yo want to change to EUR?");
  EXPECT_EQ(f.ui.shown[0].caption, "PC Program for TK4100A");
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(f.ui.shown[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(Channel16(s), "EDITED");
  EXPECT_TRUE(s.flags.dirty);
  EXPECT_EQ(f.menu.checked, 1);
  EXPECT_EQ(Remembered(f), "(none)");

  f.ui.answers = {Answer::Ok};
  EXPECT_EQ(SelectDestination(s, f.menu, 0), DestinationChange::Loaded);
  EXPECT_EQ(Channel16(s), "EUR-16");
  EXPECT_EQ(f.menu.checked, 0);
  EXPECT_EQ(Remembered(f), "EUR");
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_EQ(f.ui.shown.size(), 2u);  // the question only
}

TEST(SelectDestination, ReselectingTheCheckedEntryReloadsWithoutAQuestion) {
  TwoDestinations f;
  Session& s = f.session;
  s.record.CHUSA[32].ChTag = "EDITED";
  s.flags.dirty = true;
  const int pausedBefore = f.ui.pausedMs;

  EXPECT_EQ(SelectDestination(s, f.menu, 1), DestinationChange::Loaded);
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(Channel16(s), "USA-16");
  EXPECT_FALSE(s.flags.dirty);
  EXPECT_EQ(f.menu.checked, 1);
  EXPECT_EQ(f.ui.pausedMs - pausedBefore, 1000);  // before the set-up and after reading the file
}

TEST(SelectDestination, FileOfAnotherModelLeavesTheDefaultsAndThePreviousCheck) {
  TwoDestinations f;
  Session& s = f.session;
  f.dir.Write("ZZ_1004.ini", Regional(2, "MODEL2"));  // 16384 bytes, model code of model 2
  NewImageSetup(s, f.menu);
  ASSERT_EQ(f.menu.names, (std::vector<std::string>{"EUR", "USA", "ZZ"}));
  s.flags.dirty = true;

  f.ui.answers = {Answer::Ok};
  EXPECT_EQ(SelectDestination(s, f.menu, 2), DestinationChange::Failed);
  EXPECT_EQ(f.ui.Texts(), (std::vector<std::string>{"Do yo want to change to ZZ?", "IniFileRead Error!!"}));
  EXPECT_EQ(f.ui.shown[1].icon, Icon::Exclamation);
  EXPECT_NE(f.ui.shown[1].detail.find("ZZ_1004.ini"), std::string::npos);
  EXPECT_EQ(std::string(s.image.bytes().begin(), s.image.bytes().end()), f.Image(1));
  EXPECT_EQ(Channel16(s), "DISTRESS");
  EXPECT_EQ(f.menu.checked, 1);
  EXPECT_EQ(Remembered(f), "(none)");
  EXPECT_FALSE(s.flags.dirty);
}

TEST(SelectModel, AsksThenStoresTheModelAndAsksForNew) {
  SessionFixture f(1);
  Session& s = f.session;
  const auto valid = [] { return true; };
  const auto lastModel = [&] { return f.prefs.Get("Settings", "lastmodel", "(none)"); };

  // The current model, a model not in use, or a refused pending entry: no question at all.
  EXPECT_EQ(SelectModel(s, 0, valid), ModelChange::Unchanged);
  EXPECT_EQ(SelectModel(s, 5, valid), ModelChange::Unchanged);
  EXPECT_EQ(SelectModel(s, 1, [] { return false; }), ModelChange::Unchanged);
  EXPECT_TRUE(f.ui.shown.empty());

  f.ui.answers = {Answer::Cancel};
  EXPECT_EQ(SelectModel(s, 1, valid), ModelChange::Unchanged);
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].text, "Do yo want to program the TK520B series?");
  EXPECT_EQ(f.ui.shown[0].caption, "PC Program for TK4100A");
  EXPECT_EQ(f.ui.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(f.ui.shown[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(s.model.number, 1);
  EXPECT_EQ(lastModel(), "(none)");

  f.ui.answers = {Answer::Ok};
  EXPECT_EQ(SelectModel(s, 2, valid), ModelChange::NewRequested);
  EXPECT_EQ(s.model.title, "PC Program for TK7100C");
  EXPECT_FALSE(s.model.atis);
  EXPECT_EQ(lastModel(), "3");
  EXPECT_EQ(StartupModel(s.catalogue, f.prefs), 3);

  // What File > New then builds belongs to the new model.
  f.dir.Write("USA_1BBC.ini", Regional(3, "MODEL3"));
  DestinationMenu menu;
  EXPECT_TRUE(NewImageSetup(s, menu));
  EXPECT_TRUE(ImageIsOfCurrentModel(s, s.image));
  EXPECT_EQ(Channel16(s), "MODEL3");
}
