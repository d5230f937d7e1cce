#include <gtest/gtest.h>

#include "model/builtin_tables.h"
#include "model/codec.h"
#include "model/models.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::FreshRecord;

TEST(BuiltinTables, ChannelListHasTwoHundredFortyPositions) {
  const auto& list = BuiltinChannels();
  ASSERT_EQ(list.size(), 240u);
  EXPECT_EQ(list[32].label, "16");
  EXPECT_DOUBLE_EQ(list[32].tx, 156.8);
  EXPECT_DOUBLE_EQ(list[32].duplexRx, 161.4);
  EXPECT_TRUE(list[32].duplex);
  EXPECT_EQ(list[45].label, "22A");
  EXPECT_DOUBLE_EQ(list[45].rx, 157.1);
  EXPECT_FALSE(list[45].duplex);
  EXPECT_EQ(list[45].duplexRx, 0);
  EXPECT_EQ(list[140].label, "70");
  EXPECT_DOUBLE_EQ(list[140].tx, 156.525);
  EXPECT_EQ(list[0].label, "00");
  EXPECT_EQ(list[239].label, "119A");
  EXPECT_FALSE(list[0].include);
}

TEST(BuiltinTables, WeatherListAndToneLists) {
  const auto& wx = BuiltinWeather();
  ASSERT_EQ(wx.size(), 10u);
  EXPECT_EQ(wx[7].label, "WX08[161.650MHz]");
  EXPECT_EQ(wx[7].name, "161.650MHZ");
  EXPECT_DOUBLE_EQ(wx[9].rx, 163.275);
  std::vector<std::string> ctcss{"stale"}, dcs;
  FillCtcssList(ctcss);
  FillDcsList(dcs);
  ASSERT_EQ(ctcss.size(), 51u);
  EXPECT_EQ(ctcss.front(), "Off");
  EXPECT_EQ(ctcss.back(), "254.1Hz");
  ASSERT_EQ(dcs.size(), 105u);
  EXPECT_EQ(dcs[1], "023");
  EXPECT_EQ(dcs.back(), "754");
}

TEST(BuiltinTables, PlansHaveTheirRowsAndFlags) {
  EXPECT_EQ(UsaPlan().size(), 51u);
  EXPECT_EQ(IntlPlan().size(), 57u);
  EXPECT_EQ(CanadaPlan().size(), 59u);
  const ChannelPlanRow& c20 = CanadaPlan()[19];
  EXPECT_EQ(c20.label, "20");
  EXPECT_EQ(c20.name, "PORT OPR");
  EXPECT_TRUE(c20.duplex && c20.lowPower && !c20.rxOnly);
  EXPECT_EQ(PositionOfLabel("22A"), 45);
  EXPECT_EQ(PositionOfLabel("119A"), 239);
  EXPECT_EQ(PositionOfLabel("120"), -1);
  EXPECT_EQ(PositionOfLabel("A"), -1);
}

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
