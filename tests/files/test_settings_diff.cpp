// The change list names each edited field by its .dat section and key, and nothing else.
#include <gtest/gtest.h>

#include "files/settings_diff.h"
#include "record_builder.h"

using namespace qm47;

namespace {

struct Named {
  std::string section, key, before, after;
  bool operator==(const Named&) const = default;
};

std::vector<Named> Names(const std::vector<SettingChange>& changes) {
  std::vector<Named> out;
  for (const SettingChange& c : changes) out.push_back({c.section, c.key, c.before, c.after});
  return out;
}

TEST(SettingsDiff, NamesExactlyTheEditedKeysInFileOrder) {
  const ModelDescriptor model = MakeDescriptor(3, false, true);  // scrambler, no ATIS
  SettingsRecord before = qm47::testing::Fresh(3);
  qm47::testing::RandomRecord(7).Fill(before);
  before.UsableGroup[3].StatusName = "SHIP";
  EXPECT_TRUE(DiffSettings(before, before, model).empty());

  SettingsRecord after = before;
  after.CHMMSID[1].TagName = before.CHMMSID[1].TagName + "X";
  after.CommonSetup.Rotary = !before.CommonSetup.Rotary;
  after.DscBasic.PosRequestTX[2] = !before.DscBasic.PosRequestTX[2];
  after.CHUSA[5].Scramble = static_cast<std::int16_t>((before.CHUSA[5].Scramble + 1) % 8);
  after.UsableGroup[3].StatusName = "";
  after.AtisCommon.AtisCode = before.AtisCommon.AtisCode + "1";  // not in this model's file
  auto flag = [](bool on) { return std::string(on ? "1" : "0"); };

  const std::vector<Named> expected = {
      {"Usable CH Group Setup", "Status name 3", "SHIP", ""},
      {"Common Setup", "Rotary", flag(before.CommonSetup.Rotary), flag(after.CommonSetup.Rotary)},
      {"DSC Setup (Basic Setup)", "PosRequestTX2", flag(before.DscBasic.PosRequestTX[2]),
       flag(after.DscBasic.PosRequestTX[2])},
      {"CHUSA5", "Scramble", std::to_string(before.CHUSA[5].Scramble), std::to_string(after.CHUSA[5].Scramble)},
      {"CHMMSID2", "TagName", before.CHMMSID[1].TagName, after.CHMMSID[1].TagName},
  };
  EXPECT_EQ(Names(DiffSettings(before, after, model)), expected);

  EXPECT_EQ(SettingChangesText({{"Common Setup", "Status name 0", "", "Ship"}}),
            "[Common Setup] Status name 0: \"\" -> Ship\n");
}

// A record whose table is shorter (a hostile or truncated source) shows the entries only
// the other holds against empty values, and nothing past the end is read.
TEST(SettingsDiff, ATableOneRecordHoldsMoreOfShowsTheRestAgainstEmptyValues) {
  const ModelDescriptor model = MakeDescriptor(3, false, true);
  const SettingsRecord whole = qm47::testing::Fresh(3);
  SettingsRecord cut = whole;
  cut.CHWX.pop_back();
  const std::vector<SettingChange> changes = DiffSettings(whole, cut, model);
  ASSERT_FALSE(changes.empty());
  const std::string last = "CHWX" + std::to_string(whole.CHWX.size() - 1);  // numbered from 0
  for (const SettingChange& c : changes) {
    EXPECT_EQ(c.section, last) << c.key;
    EXPECT_EQ(c.after, "") << c.key;
  }
  EXPECT_EQ(DiffSettings(cut, whole, model).size(), changes.size()) << "either way round";
}

}  // namespace
