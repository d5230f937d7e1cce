// The one check of a record: what the pages refuse and what the radio cannot hold, by name.
#include <gtest/gtest.h>

#include <random>

#include "editor/pages/entry_rules.h"
#include "editor/documents/record_check.h"
#include "files/dat_reader.h"
#include "files/dat_writer.h"
#include "files/settings_diff.h"
#include "model/codec.h"
#include "model/fresh_image.h"
#include "record_builder.h"
#include "temp_dir.h"

namespace qm47 {
namespace {

using testing::Fresh;
using testing::Model;

const ValueProblem* Find(const RecordCheck& check, const std::string& key) {
  for (const auto& p : check.problems) {
    if (p.key == key) return &p;
  }
  return nullptr;
}

TEST(RecordCheck, AFreshRecordOfEveryModelPasses) {
  for (int model = 1; model <= 4; ++model) {
    const SettingsRecord rec = Fresh(model);
    const RecordCheck check = CheckRecord(rec, Model(model));
    EXPECT_TRUE(check.problems.empty()) << "model " << model << "\n" << ValueProblemsText(check.problems);
    EXPECT_TRUE(check.mended == rec) << "model " << model;
  }
}

TEST(RecordCheck, RefusedAndUnencodableValuesAreNamedAndMended) {
  SettingsRecord rec = Fresh(1);
  rec.CommonSetup.ResumeTime = 99;
  rec.DscBasic.UserMmsi = "#12345";
  rec.CHUSA[32].ChTag = "A_B";
  rec.CHINT[40].ChTag = "TWENTY-EIGHT CHARACTERS LONG";
  rec.CHWX[2].ChTag = "CAF\xC3\x89";
  rec.CHEXP[0].Rxfreq = 157.010;
  rec.CHMMSID[0].Mmsid = "12345678";
  const RecordCheck check = CheckRecord(rec, Model(1));
  const SettingsRecord fresh = Fresh(1);

  const ValueProblem* resume = Find(check, "Resume Time");
  ASSERT_NE(resume, nullptr) << ValueProblemsText(check.problems);
  EXPECT_EQ(resume->section, "Common Setup");
  EXPECT_EQ(resume->value, "99");
  EXPECT_NE(resume->reason.find("the page offers Off"), std::string::npos) << resume->reason;
  ASSERT_NE(Find(check, "User MMSI"), nullptr);
  // A text box's problem is worded as the box's own refusal is.
  EXPECT_EQ(Find(check, "User MMSI")->field + ": " + Find(check, "User MMSI")->reason,
            EntryRuleText(EntryField::UserMmsi));
  ASSERT_NE(Find(check, "Rxfreq"), nullptr);
  ASSERT_NE(Find(check, "Mmsid"), nullptr);
  // Every bad value is gone from the mended record, each back to the fresh setting.
  EXPECT_EQ(check.mended.CommonSetup.ResumeTime, fresh.CommonSetup.ResumeTime);
  EXPECT_EQ(check.mended.DscBasic.UserMmsi, fresh.DscBasic.UserMmsi);
  EXPECT_EQ(check.mended.CHUSA[32].ChTag, fresh.CHUSA[32].ChTag);
  EXPECT_EQ(check.mended.CHINT[40].ChTag, fresh.CHINT[40].ChTag);
  EXPECT_EQ(check.mended.CHEXP[0].Rxfreq, fresh.CHEXP[0].Rxfreq);
  EXPECT_EQ(check.problems.size(), 7u) << ValueProblemsText(check.problems);
  // What the check mends passes it.
  EXPECT_TRUE(CheckRecord(check.mended, Model(1)).problems.empty());
}

// Random radios: what the check lets through travels through a .dat file unchanged, and
// checking it again finds nothing (so the radio's memory holds it too).
TEST(RecordCheck, ARecordThatPassesSurvivesTheFileAndTheRadio) {
  qm47::testing::TempDir dir("record-check");
  std::mt19937 random(47);
  for (int round = 0; round < 12; ++round) {
    const int model = 1 + round % 4;
    SettingsRecord rec = Fresh(model);
    MemoryImage img;
    MakeFreshImage(img, model);
    for (Address a = 2; a < 0x3600; ++a) {
      if (random() % 3 == 0) img.SetByte(a, static_cast<std::uint8_t>(random()));
    }
    DecodeImage(img, rec);
    const SettingsRecord valid = CheckRecord(rec, Model(model)).mended;
    ASSERT_TRUE(CheckRecord(valid, Model(model)).problems.empty()) << "round " << round;

    const std::string path = dir / "r.dat";
    ASSERT_FALSE(WriteDatFile(path, valid, Model(model)).has_value());
    const DatReadResult file = ReadDatFile(path);
    ASSERT_TRUE(file.table.has_value());
    SettingsRecord read = Fresh(model);
    ApplyDatSettings(*file.table, read, Model(model));
    // The file holds what the pages show; the hidden tone settings are not in it.
    EXPECT_EQ(SettingChangesText(DiffSettings(valid, read, Model(model))), "") << "round " << round;
  }
}

}  // namespace
}  // namespace qm47
