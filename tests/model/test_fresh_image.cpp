#include <gtest/gtest.h>

#include "model/codec.h"
#include "model/models.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::FreshImageAndRecord;

// The names, frequencies and shown flags of the plans are the report goldens'; these no report shows.
TEST(FreshImage, RegionTablesCarryTheirHiddenFlags) {
  auto [rec, img] = FreshImageAndRecord(1);
  ASSERT_EQ(rec.CHUSA.size(), 240u);
  EXPECT_TRUE(rec.CHUSA[140].RxOnly);
  EXPECT_FALSE(rec.CHUSA[140].DupCapable);
  for (int k = 0; k < 240; ++k) EXPECT_EQ(rec.CHINT[static_cast<std::size_t>(k)].Position, k);
  ASSERT_EQ(rec.CHWX.size(), 10u);
  EXPECT_TRUE(rec.CHWX[7].LowPower && rec.CHWX[7].Enable && rec.CHWX[7].TxEnable);
  EXPECT_FALSE(rec.CHWX[7].DispayA);
}

TEST(FreshImage, DefaultBytesNoSettingShowsAndTheExportedImageOfModelTwo) {
  auto [rec, img] = FreshImageAndRecord(2);
  // The report goldens show every setting's default; these bytes no report shows.
  EXPECT_EQ(img.GetByte(0x004D), 0x0F);  // models 2 and 3 only
  EXPECT_EQ(img.GetByte(0x0014), 0xFF);
  EXPECT_EQ(img.GetByte(0x0015), 0x00);
  EXPECT_EQ(img.GetText(0x00B5, 5), "Radio");
  EXPECT_EQ(img.GetText(0x00E5, 2), "CP");
  EXPECT_EQ(img.GetByte(0x0241), 0x93);
  EXPECT_EQ(img.GetByte(0x027E), 0xE0);
  EXPECT_EQ(img.GetByte(0x0B7F), 0x00);  // the last byte of the expansion records
  EXPECT_EQ(img.GetByte(0x0B80), 0xFF);

  PrepareImageForExport(rec, img, 2);
  // The memory-channel words of Canada cover 0x004D: empty slots normalise to 0xFF.
  EXPECT_EQ(img.GetByte(0x004D), 0xFF);
  EXPECT_EQ(img.GetByte(0x007A), 0x55);  // ATIS mode 1 on every group, no call signs
  EXPECT_EQ(img.GetWordBE(0x0006), 30);  // channel 15 is in the USA plan
  EXPECT_EQ(img.GetByte(0x00FE), 56);  // the blank offset is stored clamped
}

// The four models' names, codes and titles show in the menus, the link tests and the CLI's list.
TEST(Models, AModelBeyondTheFourHasNoNameCodeOrMenuEntry) {
  EXPECT_EQ(ModelName(7), "Unknown model");
  EXPECT_EQ(ModelMenuName(7), "");
  EXPECT_FALSE(ModelCode(5).has_value());
  EXPECT_FALSE(ModelCodeMatches(5, 0, 0));
}
