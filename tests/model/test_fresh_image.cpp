#include <gtest/gtest.h>

#include "model/codec.h"
#include "model/models.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::FreshRecord;

TEST(FreshImage, RegionTablesCarryTheirPlans) {
  SettingsRecord rec;
  MemoryImage img;
  FreshRecord(rec, img, 1);
  ASSERT_EQ(rec.CHUSA.size(), 240u);
  EXPECT_TRUE(rec.CHUSA[32].Enable);
  EXPECT_EQ(rec.CHUSA[32].ChTag, "DISTRESS");
  EXPECT_TRUE(rec.CHUSA[32].TxEnable);
  EXPECT_TRUE(rec.CHUSA[140].Enable && rec.CHUSA[140].RxOnly);
  EXPECT_FALSE(rec.CHUSA[140].TxEnable || rec.CHUSA[140].DupCapable);
  EXPECT_FALSE(rec.CHUSA[33].Enable);
  EXPECT_EQ(rec.CHUSA[12].ChTag, "SAFTY");
  EXPECT_EQ(rec.CHCAN[12].ChTag, "SAFETY");
  EXPECT_EQ(rec.CHINT[8].ChTag, "INTL");
  EXPECT_TRUE(rec.CHCAN[40].Duplex && rec.CHCAN[40].LowPower);
  EXPECT_EQ(img.GetByte(0x0700 + 2 * 40), 0x60);
  for (int k = 0; k < 240; ++k) EXPECT_EQ(rec.CHINT[static_cast<std::size_t>(k)].Position, k);
  ASSERT_EQ(rec.CHWX.size(), 10u);
  EXPECT_EQ(rec.CHWX[7].ChTag, "161.650MHZ");
  EXPECT_TRUE(rec.CHWX[7].LowPower && rec.CHWX[7].Enable && rec.CHWX[7].TxEnable);
  EXPECT_FALSE(rec.CHWX[7].DispayA);
}

TEST(FreshImage, GroupSettingsComeFromTheDefaultBytes) {
  SettingsRecord rec;
  MemoryImage img;
  FreshRecord(rec, img, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(rec.UsableGroup[static_cast<std::size_t>(i)].Usable);
    EXPECT_EQ(rec.UsableGroup[static_cast<std::size_t>(i)].PriorityCh, 32);
    EXPECT_EQ(rec.UsableGroup[static_cast<std::size_t>(i)].StatusName, "");
  }
  EXPECT_EQ(rec.CommonSetup.TxPoDisplay, 0);
  EXPECT_TRUE(rec.CommonSetup.Scan && rec.CommonSetup.PttScanClear && rec.CommonSetup.DualWatch);
  EXPECT_EQ(rec.CommonSetup.ResumeTime, 3);
  EXPECT_EQ(rec.CommonSetup.OffsetTime, 31);
  EXPECT_EQ(rec.CommonSetup.MagneticVariation, 255);
  EXPECT_EQ(rec.CommonSetup.Weater, 255);
  EXPECT_FALSE(rec.CommonSetup.Rotary);
  EXPECT_EQ(rec.DscBasic.UserMmsi, "");
  EXPECT_EQ(rec.AtisCommon.AtisCode, "");
  for (const auto& ch : rec.CHEXP) {
    EXPECT_FALSE(ch.Enable || ch.TxEnable);
    EXPECT_EQ(ch.Rxfreq, 0);
    EXPECT_EQ(ch.ChTag, "");
  }
  for (const auto& e : rec.CHMMSID) EXPECT_EQ(e, DirectoryEntry{});
}

TEST(FreshImage, DefaultBytesAndModelCodes) {
  for (int model = 1; model <= 4; ++model) {
    SettingsRecord rec;
    MemoryImage img;
    FreshRecord(rec, img, model);
    const int code = *ModelCode(model);
    EXPECT_EQ(img.GetWordBE(0x0000), code) << model;
    EXPECT_EQ(img.GetWordBE(0x3FFE), code) << model;
    EXPECT_EQ(img.GetByte(0x004D), model == 2 || model == 3 ? 0x0F : 0xFF) << model;
    EXPECT_EQ(img.GetWordBE(0x0006), 30);
    EXPECT_EQ(img.GetByte(0x0014), 0xFF);
    EXPECT_EQ(img.GetByte(0x0015), 0x00);
    EXPECT_EQ(img.GetByte(0x0085), 0x00);
    EXPECT_EQ(img.GetText(0x00B5, 5), "Radio");
    EXPECT_EQ(img.GetText(0x00E5, 2), "CP");
    EXPECT_EQ(img.GetByte(0x0241), 0x93);
    EXPECT_EQ(img.GetByte(0x027E), 0xE0);
    EXPECT_EQ(img.GetByte(0x0B7F), 0x00);
    EXPECT_EQ(img.GetByte(0x0B80), 0xFF);
    EXPECT_EQ(img.GetByte(0x3FFD), 0xFF);
  }
}

TEST(FreshImage, ExportedFreshImageOfModelTwo) {
  SettingsRecord rec;
  MemoryImage img;
  FreshRecord(rec, img, 2);
  PrepareImageForExport(rec, img, 2);
  // The memory-channel words of Canada cover 0x004D: empty slots normalise to 0xFF.
  EXPECT_EQ(img.GetByte(0x004D), 0xFF);
  EXPECT_EQ(img.GetByte(0x007A), 0x55);  // ATIS mode 1 on every group, no call signs
  EXPECT_EQ(img.GetWordBE(0x0006), 30);  // channel 15 is in the USA plan
  EXPECT_EQ(img.GetByte(0x005F), img.Sum8(0x0042, 29));
  EXPECT_EQ(img.GetByte(0x00FE), 56);  // the blank offset is stored clamped
}

TEST(Models, NamesCodesAndTheCodeCheck) {
  EXPECT_EQ(ModelName(3), "TK7100C");
  EXPECT_EQ(ModelName(7), "Unknown model");
  EXPECT_EQ(ModelMenuName(7), "");
  EXPECT_EQ(ModelMenuName(4), "TK-nnnn");
  EXPECT_EQ(*ModelCode(1), 4100);
  EXPECT_EQ(*ModelCode(4), 0);
  EXPECT_FALSE(ModelCode(5).has_value());
  EXPECT_TRUE(ModelCodeMatches(2, 520, 520));
  EXPECT_FALSE(ModelCodeMatches(2, 520, 521));
  EXPECT_FALSE(ModelCodeMatches(1, 520, 520));
  EXPECT_FALSE(ModelCodeMatches(5, 0, 0));
  EXPECT_TRUE(ModelCodeMatches(4, 0, 0));
  EXPECT_EQ(ModelCodeAddresses().first, 0);
  EXPECT_EQ(ModelCodeAddresses().second, 16382);
  EXPECT_EQ(MakeDescriptor(1, true, false).title, "PC Program for TK4100A");
}
