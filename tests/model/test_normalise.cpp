#include <gtest/gtest.h>

#include "model/codec.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::FreshImageAndRecord;

namespace {

struct Fixture : qm47::testing::ImageAndRecord {
  Fixture() : ImageAndRecord(FreshImageAndRecord(2)) {}
  void Encode() { EncodeImage(rec, img, 2); }
};

}  // namespace

TEST(Normalise, RegularModeMovesToTheNextUsableGroup) {
  Fixture f;
  f.rec.UsableGroup[kINTL].Usable = false;
  f.rec.UsableGroup[kCanada].Usable = false;
  f.Encode();
  f.img.SetByte(0x0004, 1);
  f.img.SetByte(0x0005, 0);
  f.img.SetWordBE(0x0006, 32);  // channel 16 is enabled in the USA plan
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x0004), 0);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 32);
  EXPECT_EQ(f.img.GetWordBE(0x0008), 32);

  // From INTL the order is Canada, then USA.
  f.rec.UsableGroup[kCanada].Usable = true;
  f.Encode();
  f.img.SetByte(0x0004, 1);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x0004), 2);
}

TEST(Normalise, UnusableCurrentChannelIsReplacedByTheFirstEnabledOne) {
  Fixture f;
  f.Encode();
  f.img.SetByte(0x0004, 0);
  f.img.SetByte(0x0005, 0);
  f.img.SetWordBE(0x0006, 33);  // 16A is not in the USA plan
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 3);  // 01A is the first enabled USA position
  EXPECT_EQ(f.img.GetWordBE(0x0008), 3);

  // Nothing enabled in the group: the first enabled expansion channel, as its table index.
  for (auto& ch : f.rec.CHUSA) ch.Enable = false;
  f.rec.CHEXP[4].Enable = true;
  f.Encode();
  f.img.SetWordBE(0x0006, 33);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 5);

  // Nothing anywhere: the state stays.
  f.rec.CHEXP[4].Enable = false;
  f.Encode();
  f.img.SetWordBE(0x0006, 33);
  f.img.SetWordBE(0x0008, 77);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 33);
  EXPECT_EQ(f.img.GetWordBE(0x0008), 77);
}

TEST(Normalise, ExpansionStateWordsAndOddGroupsAreKeptWhenUsable) {
  Fixture f;
  f.rec.CHEXP[2].Enable = true;
  f.rec.UsableGroup[kEXP].Usable = true;
  f.Encode();
  f.img.SetByte(0x0004, 0);
  f.img.SetByte(0x0005, 0);
  f.img.SetWordBE(0x0006, 242);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 242);

  f.img.SetByte(0x0004, 7);  // groups outside 0..2 are left alone, and so is the channel
  f.img.SetWordBE(0x0006, 999);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x0004), 7);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 999);
}

TEST(Normalise, WeatherModeKeepsOrReplacesTheWeatherChannel) {
  Fixture f;
  f.Encode();
  f.img.SetByte(0x0005, 1);
  f.img.SetByte(0x000A, 0xFF);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x000A), 0xFF);
  EXPECT_EQ(f.img.GetByte(0x0006), 0x00);
  EXPECT_EQ(f.img.GetByte(0x0007), 0xFF);

  f.rec.CHWX[0].Enable = f.rec.CHWX[1].Enable = false;
  f.Encode();
  f.img.SetByte(0x000A, 1);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x000A), 2);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 2);

  // The ten weather channels are 0..9: 10 lies outside and is kept, even where its flag
  // bit would read as clear; 9 lies inside and is replaced when it is disabled.
  f.rec.CHWX[9].Enable = false;
  f.Encode();
  f.img.SetBitAt(0x01C1, false, 5);  // the bit a channel 10 would have
  f.img.SetByte(0x000A, 10);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x000A), 10);
  EXPECT_EQ(f.img.GetWordBE(0x0006), 10);
  f.img.SetByte(0x000A, 9);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x000A), 2);

  for (auto& ch : f.rec.CHWX) ch.Enable = false;
  f.Encode();
  f.img.SetByte(0x000A, 4);
  f.img.SetWordBE(0x0006, 4);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x000A), 4);
}

TEST(Normalise, MemoryChannelsOutsideUsableChannelsAreEmptied) {
  Fixture f;
  f.rec.UsableGroup[kINTL].Usable = false;
  f.Encode();
  f.img.SetWordBE(0x0020, 32);   // USA 16: usable
  f.img.SetWordBE(0x0022, 33);   // USA 16A: not enabled
  f.img.SetWordBE(0x0024, 240);  // EXP 1: not enabled
  f.img.SetWordBE(0x0030, 32);   // INTL is not usable
  f.img.SetWordBE(0x0040, 500);
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetWordBE(0x0020), 32);
  EXPECT_EQ(f.img.GetWordBE(0x0022), 0xFFFF);
  EXPECT_EQ(f.img.GetWordBE(0x0024), 0xFFFF);
  EXPECT_EQ(f.img.GetWordBE(0x0030), 0xFFFF);
  EXPECT_EQ(f.img.GetWordBE(0x0040), 0xFFFF);
}

TEST(Normalise, AtisModeDependsOnGroupsAndCallSigns) {
  Fixture f;
  f.rec.AtisCommon.AtisGroup = {true, false, true, false};
  f.Encode();
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x007A), 0x44);

  f.rec.AtisCallSign[19].MID = "244";
  f.Encode();
  NormaliseImage(f.rec, f.img);
  EXPECT_EQ(f.img.GetByte(0x007A), 0x88);
}

TEST(Normalise, ChecksumIsTheSumOfItsTwentyNineBytes) {
  MemoryImage img;
  for (int i = 0; i < 29; ++i) img.SetByte(0x42 + i, 1);
  img.SetByte(0x41, 0x77);
  SetChecksum(img);
  EXPECT_EQ(img.GetByte(0x5F), 0x1D);
  img.SetByte(0x42, 0xFF);  // 28 + 255: only the low eight bits are kept
  SetChecksum(img);
  EXPECT_EQ(img.GetByte(0x5F), 0x1B);
}
