#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/pages/channel_page.h"
#include "editor/pages/directory_pages.h"
#include "editor/pages/entry_rules.h"
#include "editor/pages/settings_pages.h"
#include "model/fresh_image.h"

using namespace qm47;

TEST(EntryRules, KeyFiltersLetInOnlyTheirSetAndAlwaysBackspace) {
  for (const EntryFieldRule& rule : EntryFieldRules()) EXPECT_TRUE(AcceptsKey(rule.field, kBackspace));

  struct Case {
    EntryField field;
    std::u32string accepted;
    std::u32string refused;
  };
  const Case cases[] = {
      {EntryField::UserMmsi, U"0189", U". aA-"},
      {EntryField::RxFrequency, U"09.", U", -e"},
      {EntryField::AtisDisp, U"0zZaA", U" -."},
      {EntryField::ChannelTag, U"aZ9-/*()+., ", U"#_\"'!:@\u00e9"},
      // The status set has no comma, unlike the tag set.
      {EntryField::StatusName, U"aZ9-+().*/ ", U",#_"},
      {EntryField::WeatherTag, U"#_!\u00e9 a", U""},
      // The display boxes take only the letters the radio can show, in their one case.
      {EntryField::DisplayLeft, U"bdnoqrtyACEFGHIJLPSU0123456789", U"acefghijklmpsuvwxzBDNOQRTYKMVWXZ -"},
      {EntryField::DisplayRight, U"bdnoqrtyACEFGHIJLPSU0123456789", U"acefghijklmpsuvwxzBDNOQRTYKMVWXZ -"},
  };
  for (const Case& c : cases) {
    for (char32_t k : c.accepted) EXPECT_TRUE(AcceptsKey(c.field, k)) << static_cast<int>(c.field) << " " << int(k);
    for (char32_t k : c.refused) EXPECT_FALSE(AcceptsKey(c.field, k)) << static_cast<int>(c.field) << " " << int(k);
  }
  // Pasted text comes in whole or not at all.
  EXPECT_TRUE(AcceptsText(EntryField::UserMmsi, U"123456789"));
  EXPECT_FALSE(AcceptsText(EntryField::UserMmsi, U"12345 789"));
}

// Text set past the keyboard (a screen reader, voice control) keeps only what typing
// would have left: the added characters the keys let in, up to the box's length.
TEST(EntryRules, AChangeKeepsWhatTypingWouldHaveLeft) {
  struct Case {
    EntryField field;
    const char* before;
    const char* after;
    const char* kept;
  };
  const Case cases[] = {
      {EntryField::ChannelTag, "", "H\u00e4fen~x", "Hfenx"},
      {EntryField::ChannelTag, "", "ab{}1234567890123", "ab1234567890"},
      {EntryField::ChannelTag, "PORT", "PORT#2", "PORT2"},
      {EntryField::ChannelTag, "A#B", "A#BC", "A#BC"},  // what was there stays; only the added is checked
      {EntryField::ChannelTag, "ABC", "AC", "AC"},      // deleting is always allowed
      {EntryField::UserMmsi, "", "366 123 456 7", "366123456"},
      {EntryField::UserMmsi, "36612", "3661234567890", "366123456"},
      {EntryField::UserMmsi, "366123456", "366123456", "366123456"},
  };
  for (const Case& c : cases) EXPECT_EQ(AcceptedChange(c.field, c.before, c.after), c.kept) << c.after;
}

TEST(EntryRules, MmsiStoresNineDigitsWithATrailingZeroAndShowsOtherFormsUncut) {
  EXPECT_EQ(CheckEntry(EntryField::UserMmsi, "123456789").value.text, "1234567890");
  EXPECT_EQ(CheckEntry(EntryField::IndividualMmsi, "366123456").value.text, "3661234560");
  const EntryCheckResult empty = CheckEntry(EntryField::UserMmsi, "");
  EXPECT_TRUE(empty.valid);
  EXPECT_EQ(empty.value.text, "");  // clears the stored MMSI
  for (const char* wrong : {"12345678", "1234567890", "1"})
    EXPECT_FALSE(CheckEntry(EntryField::UserMmsi, wrong).valid) << wrong;

  // Group MMSIs: eight digits between two zeros; an empty one stays empty, not "0".
  EXPECT_EQ(CheckEntry(EntryField::GroupMmsi, "12345678").value.text, "0123456780");
  EXPECT_EQ(CheckEntry(EntryField::GroupMmsi, "").value.text, "");
  EXPECT_FALSE(CheckEntry(EntryField::GroupMmsi, "123456789").valid);

  // Shown as typed is the pages' test; a stored value of another form is shown uncut.
  EXPECT_EQ(ShownText(EntryField::UserMmsi, {"1234567891"}), "1234567891");
  EXPECT_EQ(ShownText(EntryField::GroupMmsi, {"1234567890"}), "1234567890");
}

TEST(EntryRules, FrequencyLiesFrom137To174MHzOnA25kHzStep) {
  struct Case {
    const char* text;
    bool valid;
    double mhz;
  };
  const Case cases[] = {
      {"136.9999", false, 0}, {"137", true, 137.0},    {"174", true, 174.0},      {"174.0000", true, 174.0},
      {"174.025", false, 0},  {"157.025", true, 157.025}, {"157.010", false, 0}, {"157.0125", false, 0},
      {"156.0", true, 156.0},  // inside the band and on a 25 kHz step
      {"", true, 0},           // no frequency
      {"0", false, 0},        {".", false, 0},         {"---.----", false, 0},
      {"157.025.5", true, 157.025},  // the leading number counts
  };
  for (const Case& c : cases) {
    const FrequencyEntry f = CheckFrequency(c.text);
    EXPECT_EQ(f.valid, c.valid) << c.text;
    if (c.valid) {
      EXPECT_DOUBLE_EQ(f.mhz, c.mhz) << c.text;
    }
  }
}

TEST(EntryRules, StatusNameIsRightAlignedInFourOrKeepsItsLastFour) {
  EXPECT_EQ(StatusNameStored("AB"), "  AB");
  EXPECT_EQ(StatusNameStored("ABCDE"), "BCDE");
  EXPECT_EQ(StatusNameStored(" AB "), "  AB");
  EXPECT_EQ(StatusNameStored("BOAT"), "BOAT");
  EXPECT_EQ(StatusNameStored("    "), "");
  EXPECT_EQ(StatusNameStored(""), "");
}

TEST(EntryRules, EachPlaceStoresIntoItsOwnRecordField) {
  SettingsRecord rec;
  rec.CHUSA.resize(kRegionPositions);
  rec.CHINT.resize(kRegionPositions);
  rec.CHCAN.resize(kRegionPositions);
  rec.CHWX.resize(kWeatherChannels);
  using enum EntryField;
  using R = const SettingsRecord&;
  const struct {
    EntryPlace place;
    const char* text;
    std::string (*stored)(R);
  } places[] = {
      {{UserMmsi}, "1234567890", [](R r) { return r.DscBasic.UserMmsi; }},
      {{IndividualMmsi, 47}, "i-mmsi", [](R r) { return r.CHMMSID[47].Mmsid; }},
      {{GroupMmsi, 9}, "g-mmsi", [](R r) { return r.CHGRPID[9].Mmsid; }},
      {{IndividualName, 47}, "i-name", [](R r) { return r.CHMMSID[47].TagName; }},
      {{GroupName, 9}, "g-name", [](R r) { return r.CHGRPID[9].TagName; }},
      {{AtisCode}, "9123456789", [](R r) { return r.AtisCommon.AtisCode; }},
      {{AtisMid, 19}, "316", [](R r) { return r.AtisCallSign[19].MID; }},
      {{AtisDisp, 19}, "CAN", [](R r) { return r.AtisCallSign[19].DISP; }},
      {{ChannelTag, 32, kINTL}, "intl", [](R r) { return r.CHINT[32].ChTag; }},
      {{ChannelTag, 39, kEXP}, "exp", [](R r) { return r.CHEXP[39].ChTag; }},
      {{WeatherTag, 9}, "wx", [](R r) { return r.CHWX[9].ChTag; }},
      {{DisplayLeft, 39, kEXP}, "Ab", [](R r) { return r.CHEXP[39].CHDisplayL; }},
      {{DisplayRight, 39, kEXP}, "C", [](R r) { return r.CHEXP[39].CHDisplayR; }},
      {{StatusName, 3}, "BOAT", [](R r) { return r.UsableGroup[3].StatusName; }},
  };
  for (const auto& p : places) ASSERT_TRUE(StoreEntry(rec, p.place, {p.text})) << p.text;
  ASSERT_TRUE(StoreEntry(rec, {RxFrequency, 39, kEXP}, {{}, 157.025}));
  ASSERT_TRUE(StoreEntry(rec, {TxFrequency, 39, kEXP}, {{}, 161.625}));
  // Checked after every store, so none lands on another's field.
  for (const auto& p : places) EXPECT_EQ(p.stored(rec), p.text);
  EXPECT_EQ(rec.CHUSA[32].ChTag, "");
  EXPECT_EQ(rec.CHEXP[39].Rxfreq, 157.025);
  EXPECT_EQ(rec.CHEXP[39].Txfreq, 161.625);
  EXPECT_EQ(StoredEntry(rec, {TxFrequency, 39, kEXP}).mhz, 161.625);

  // Places outside the tables, and the read-only boxes of a plan channel, change nothing.
  const SettingsRecord before = rec;
  const auto store = [&](EntryPlace p) { return StoreEntry(rec, p, {"x"}); };
  EXPECT_FALSE(store({IndividualMmsi, 48}));
  EXPECT_FALSE(store({GroupName, -1}));
  EXPECT_FALSE(store({ChannelTag, 240, kUSA}));
  EXPECT_FALSE(store({ChannelTag, 0, 7}));
  EXPECT_FALSE(store({StatusName, 4}));
  EXPECT_FALSE(store({DisplayLeft, 0, kUSA}));
  EXPECT_FALSE(StoreEntry(rec, {RxFrequency, 40, kEXP}, {{}, 157.0}));
  EXPECT_EQ(rec, before);
  EXPECT_EQ(StoredEntry(rec, {IndividualMmsi, 48}), EntryValue{});
}

namespace {

// The value after "for example " in a rule text, without the closing "." or what follows ";".
std::string ExampleIn(const std::string& text) {
  const auto at = text.find("for example ");
  if (at == std::string::npos) return {};
  std::string example = text.substr(at + 12);
  example = example.substr(0, example.find(';'));
  if (!example.empty() && example.back() == '.') example.pop_back();
  return example;
}

}  // namespace

// The line under "Data Error!!" and the box's tooltip: they name the field as its page
// labels it, state the length the check wants, and give a value the field takes.
TEST(EntryRules, EachRuleTextNamesTheFieldAsItsPageDoesAndGivesAValueItTakes) {
  for (const EntryFieldRule& rule : EntryFieldRules()) {
    const std::string text = EntryRuleText(rule.field);
    const std::string example = ExampleIn(text);
    ASSERT_FALSE(example.empty()) << text;
    EXPECT_TRUE(AcceptsText(rule.field, std::u32string(example.begin(), example.end()))) << text;
    EXPECT_LE(static_cast<int>(example.size()), rule.maxLength) << text;
    EXPECT_TRUE(CheckEntry(rule.field, example).valid) << text;
    if (rule.check == EntryCheck::FixedLength || rule.check == EntryCheck::Mmsi) {
      EXPECT_NE(text.find("exactly " + std::to_string(rule.digits) + " digits"), std::string::npos) << text;
    }
  }

  SettingsRecord rec;
  MemoryImage image;
  NewImageData(rec, image, 1);
  std::vector<std::pair<std::string, EntryField>> boxes;  // caption, field
  for (const SettingsPageState& page : {UsablePageFor(rec), DscPageFor(rec, image), AtisPageFor(rec)}) {
    for (const TextControl& box : page.texts) {
      if (box.place) boxes.emplace_back(box.caption, box.place->field);
    }
  }
  for (const Directory which : {Directory::Individual, Directory::Group}) {
    const DirectoryEntryState entry = DirectoryEntryFor(rec, which, 1);
    for (const TextControl* box : {&entry.name, &entry.mmsi}) boxes.emplace_back(box->caption, box->place->field);
  }
  const auto channel = BuildChannelPage(rec, MakeDescriptor(1, true, true), ChannelRef{kEXP, 1});
  ASSERT_TRUE(channel);
  for (const TextBoxState* box : {&channel->txtCN[0], &channel->txtCN[1], &channel->txtCRF, &channel->txtCTF,
                                  &channel->txtCTag}) {
    boxes.emplace_back(box->caption, box->entry.field);
  }
  ASSERT_GE(boxes.size(), 50u);
  for (const auto& [caption, field] : boxes) {
    ASSERT_FALSE(caption.empty());
    EXPECT_EQ(EntryRuleText(field).rfind(caption + ": ", 0), 0u) << caption << " | " << EntryRuleText(field);
  }
}
