#include <gtest/gtest.h>

#include <set>

#include "model/codec.h"
#include "record_builder.h"

using namespace qm47;
using qm47::testing::FreshImageAndRecord;
using qm47::testing::FirstDifference;
using qm47::testing::RandomRecord;
using qm47::testing::TrimCallSigns;

namespace {

void Put(MemoryImage& img, Address a, std::vector<int> bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) img.SetByte(a + static_cast<int>(i), bytes[i]);
}

// Every byte the encoder may write, listed from the memory map.
std::set<Address> EncodedBytes() {
  std::set<Address> owned;
  auto range = [&](Address first, int count) {
    for (int i = 0; i < count; ++i) owned.insert(first + i);
  };
  for (Address a : {0x000B, 0x000F, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, 0x0078,
                    0x0079, 0x0088, 0x0089, 0x008A, 0x008B, 0x00F0, 0x00FE, 0x00FF}) {
    owned.insert(a);
  }
  range(0x007B, 5);
  range(0x0080, 5);
  range(0x0090, 3);
  for (int g = 0; g < 4; ++g) owned.insert(0x00B0 + 16 * g);
  for (int g = 0; g < 3; ++g) range(0x00B1 + 16 * g, 4);
  range(0x00F6, 6);
  range(0x0100, 0x01C7 - 0x0100);
  range(0x01D0, 7);
  for (int r = 0; r < 3; ++r) {
    for (int k = 0; k < 240; ++k) owned.insert(0x0300 + 0x200 * r + 2 * k);
  }
  for (int k = 0; k < 40; ++k) range(0x0900 + 16 * k, 10);
  range(0x0C00, 0x2E38 - 0x0C00);
  range(0x2E40, 480);
  for (int k = 0; k < 20; ++k) range(0x3100 + 8 * k, 6);
  range(0x3200, 768);
  range(0x3500, 160);
  return owned;
}

}  // namespace

TEST(Codec, EncodeNeverTouchesBytesItDoesNotOwn) {
  auto [rec, img] = FreshImageAndRecord();
  RandomRecord(7).Fill(rec);

  MemoryImage noise;
  std::mt19937 rng(11);
  for (auto& b : noise.bytes()) b = static_cast<std::uint8_t>(rng());
  MemoryImage encoded = noise;
  EncodeImage(rec, encoded, 2);

  const auto owned = EncodedBytes();
  int changedOwned = 0;
  for (Address a = 0; a <= kLastAddress; ++a) {
    if (owned.count(a)) {
      changedOwned += encoded.GetByte(a) != noise.GetByte(a);
      continue;
    }
    // Bits 1-0 of 0x77 and bit 0 of 0x78 are not used by any field.
    ASSERT_EQ(encoded.GetByte(a), noise.GetByte(a)) << "address " << std::hex << a;
  }
  EXPECT_GT(changedOwned, 5000);
  EXPECT_EQ(encoded.GetByte(0x77) & 0x03, noise.GetByte(0x77) & 0x03);
  EXPECT_EQ(encoded.GetByte(0x78) & 0x01, noise.GetByte(0x78) & 0x01);
}

TEST(Codec, DecodingAnEncodedRecordGivesItBack) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    auto [rec, img] = FreshImageAndRecord(1 + static_cast<int>(seed % 4));
    RandomRecord(seed).Fill(rec);
    EncodeImage(rec, img, 2);
    SettingsRecord back = rec;
    // Scribble over every image-backed field so only the decoder can restore them.
    RandomRecord(seed + 1000).Fill(back);
    DecodeImage(img, back);
    TrimCallSigns(rec);
    ASSERT_EQ(FirstDifference(back, rec), "") << "seed " << seed;
  }
}

TEST(Codec, DecodeLeavesFieldsWithoutStorageAlone) {
  auto [rec, img] = FreshImageAndRecord();
  rec.DscBasic.PosRequestTX[0] = rec.DscBasic.PosRequestTX[1] = true;
  rec.DscBasic.BeepOut[7] = true;
  rec.CHUSA[5].DispayA = true;
  rec.CHUSA[5].Position = 77;
  rec.CHUSA[5].RxOnly = true;
  rec.CHUSA[6].DupCapable = false;
  rec.UsableGroup[kEXP].PriorityCh = 12;
  rec.UsableGroup[kEXP].StatusName = "EXPS";
  rec.CHEXP[0].Duplex = true;
  SettingsRecord expected = rec;
  DecodeImage(img, rec);
  TrimCallSigns(expected);
  EXPECT_EQ(FirstDifference(rec, expected), "");  // and a fresh image decodes to what the set-up produced
}

TEST(Decode, GroupAndCommonSettingsByTheMap) {
  auto [rec, img] = FreshImageAndRecord();
  Put(img, 0x0073, {0b1010'0011});  // icons of USA and Canada, TX TOT of Canada and EXP
  Put(img, 0x00C0, {0x00});
  Put(img, 0x00F8, {0x01, 0x02});
  Put(img, 0x00C1, {'A', 'B', 0xFF, 'C'});
  Put(img, 0x000B, {2});
  Put(img, 0x0072, {9});
  Put(img, 0x00FE, {0x05});
  Put(img, 0x00FF, {1});
  Put(img, 0x00F0, {3});
  Put(img, 0x000F, {0x40});
  Put(img, 0x0070, {0});
  DecodeImage(img, rec);
  EXPECT_TRUE(rec.UsableGroup[0].StatusIcon && !rec.UsableGroup[1].StatusIcon && rec.UsableGroup[2].StatusIcon);
  EXPECT_TRUE(!rec.UsableGroup[0].TxTot && !rec.UsableGroup[1].TxTot && rec.UsableGroup[2].TxTot &&
              rec.UsableGroup[3].TxTot);
  EXPECT_FALSE(rec.UsableGroup[1].Usable);
  EXPECT_TRUE(rec.UsableGroup[0].Usable);
  EXPECT_EQ(rec.UsableGroup[1].PriorityCh, 0x0102);
  EXPECT_EQ(rec.UsableGroup[1].StatusName, "AB");
  EXPECT_EQ(rec.CommonSetup.TxPoDisplay, 2);
  EXPECT_EQ(rec.CommonSetup.ResumeTime, 9);  // taken as it is
  EXPECT_EQ(rec.CommonSetup.OffsetTime, -5);
  EXPECT_EQ(rec.CommonSetup.MagneticVariation, 1);
  EXPECT_EQ(rec.CommonSetup.Weater, 3);
  EXPECT_TRUE(rec.CommonSetup.Rotary);
  EXPECT_FALSE(rec.CommonSetup.Scan);
}

TEST(Decode, DscAndAtisBitsByTheMap) {
  auto [rec, img] = FreshImageAndRecord();
  Put(img, 0x0074, {0b1000'0001});
  Put(img, 0x0075, {0b0100'0010});
  Put(img, 0x0076, {0b0010'0100});
  Put(img, 0x0077, {0b1010'0100});  // POS Request, POS Send, Distress Cancel Call
  Put(img, 0x0078, {0b0011'0010});  // BeepOut[4], Distress Relay, display 2
  Put(img, 0x0088, {0, 1, 0, 7});
  Put(img, 0x0090, {0, 5, 0});
  Put(img, 0x0079, {0b0001'1000});
  Put(img, 0x007B, {0x01, 0x23, 0x45, 0x67, 0x89});
  Put(img, 0x0080, {0x21, 0x12, 0x34, 0x56, 0x70});
  DecodeImage(img, rec);
  const auto& a = rec.DscAdvanced;
  EXPECT_TRUE(a.AllShipsCall[0] && a.AllShipsCallTX[3]);
  EXPECT_TRUE(a.GroupCall[1] && a.GroupCallTX[2]);
  EXPECT_TRUE(a.IndividualCall[2] && a.IndividualCallTX[1]);
  EXPECT_EQ(a.AllShipsCall[1] + a.AllShipsCallTX[0] + a.GroupCall[0] + a.IndividualCall[0], 0);
  const auto& b = rec.DscBasic;
  EXPECT_EQ(b.PosRequest, (std::array<bool, 4>{true, false, true, true}));
  EXPECT_FALSE(b.PosRequestTX[2] || b.PosRequestTX[3]);
  EXPECT_EQ(b.BeepOut, (std::array<bool, 8>{false, false, false, true, true, false, true, false}));
  EXPECT_TRUE(a.DistressRelay);
  EXPECT_EQ(rec.DscDisplay, (std::array<bool, 3>{false, false, true}));
  EXPECT_EQ(b.DscGroup, (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(rec.AtisCommon.AtisGroup, (std::array<bool, 4>{false, false, false, true}));
  EXPECT_EQ(rec.AtisCommon.KikkerGroup, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(rec.AtisCommon.AtisCode, "0123456789");
  EXPECT_EQ(b.UserMmsi, "2112345670");
}

TEST(Decode, ChannelFlagBytesAndExpansionRecords) {
  auto [rec, img] = FreshImageAndRecord();
  Put(img, 0x0300 + 2 * 10, {0x7E});  // TX on low power, duplex, power-up, scrambler 7
  Put(img, 0x0500 + 2 * 3, {0x80});   // TX mode 2 means transmission off
  Put(img, 0x0700 + 2 * 4, {0xC0});
  DecodeImage(img, rec);
  const Channel& u = rec.CHUSA[10];
  EXPECT_TRUE(u.TxEnable && u.LowPower && u.Duplex && u.PowUp);
  EXPECT_EQ(u.Scramble, 7);
  EXPECT_FALSE(rec.CHINT[3].TxEnable || rec.CHINT[3].LowPower);
  EXPECT_TRUE(rec.CHCAN[4].TxEnable && !rec.CHCAN[4].LowPower);

  Put(img, 0x0900 + 16 * 2, {0x53, '1', '2', 'B', 0x56, 0x80, 0x00, 0xA0, 0x00, 0x00});
  Put(img, 0x01C2, {0x20});
  Put(img, 0x2E40 + 12 * 2, {'E', 'X', 'P', 0xFF});
  DecodeImage(img, rec);
  const Channel& e = rec.CHEXP[2];
  EXPECT_TRUE(e.Enable && e.TxEnable && e.LowPower && e.PowUp && e.Wide);
  EXPECT_EQ(e.Scramble, 1);
  EXPECT_EQ(e.CHDisplayL, "12");
  EXPECT_EQ(e.CHDisplayR, "B");
  EXPECT_DOUBLE_EQ(e.Rxfreq, 156.8);
  EXPECT_EQ(e.Txfreq, 0);
  EXPECT_EQ(e.ChTag, "EXP");
}

TEST(Decode, EmptyMmsiEndsTheDirectoryAndClearsLaterEntries) {
  auto [rec, img] = FreshImageAndRecord();
  for (int k = 0; k < 5; ++k) {
    Put(img, 0x3200 + 16 * k, {0x11, 0x22, 0x33, 0x44, 0x50 + k});
    Put(img, 0x3205 + 16 * k, {'S', 'H', 'I', 'P', 0xFF});
  }
  Put(img, 0x3200 + 16 * 2, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  DecodeImage(img, rec);
  EXPECT_TRUE(rec.CHMMSID[0].InUse && rec.CHMMSID[1].InUse);
  EXPECT_EQ(rec.CHMMSID[1].Mmsid, "1122334451");
  EXPECT_EQ(rec.CHMMSID[1].TagName, "SHIP");
  for (std::size_t k = 2; k < rec.CHMMSID.size(); ++k) EXPECT_EQ(rec.CHMMSID[k], DirectoryEntry{}) << k;
  EXPECT_FALSE(rec.CHGRPID[0].InUse);
}

TEST(Encode, ModelOneDropsGroupsWithoutEnabledChannels) {
  for (int model : {1, 2}) {
    auto [rec, img] = FreshImageAndRecord(model);
    for (auto& ch : rec.CHINT) ch.Enable = false;
    rec.UsableGroup[kINTL].Usable = true;
    rec.UsableGroup[kEXP].Usable = true;  // no expansion channel is enabled in a fresh record
    EncodeImage(rec, img, model);
    EXPECT_EQ(StoredForm(rec, model).UsableGroup[kINTL].Usable, model != 1);
    EXPECT_TRUE(rec.UsableGroup[kINTL].Usable) << "the record given stays as it is";
    EXPECT_EQ(img.GetByte(0x00C0), model == 1 ? 0 : 1);
    EXPECT_EQ(img.GetByte(0x00E0), model == 1 ? 0 : 1);
    EXPECT_EQ(img.GetByte(0x00B0), 1);
  }
}

TEST(Encode, RegionFlagBytesFollowTxModeDuplexAndScrambler) {
  auto [rec, img] = FreshImageAndRecord();
  Channel& dup = rec.CHCAN[40];  // channel 20: duplex and low power in the Canada plan
  EncodeImage(rec, img, 2);
  EXPECT_EQ(img.GetByte(0x0700 + 2 * 40), 0x60);

  Channel& simplex = rec.CHUSA[45];  // 22A has no duplex pair
  simplex.Duplex = true;
  simplex.TxEnable = false;
  simplex.LowPower = true;
  simplex.Scramble = 13;  // only the low three bits are stored
  dup.Scramble = 4;
  img.SetByte(0x0301 + 2 * 45, 0x5A);  // second byte of the word is not the codec's
  EncodeImage(rec, img, 2);
  EXPECT_EQ(img.GetByte(0x0300 + 2 * 45), 0x0A);
  EXPECT_EQ(img.GetByte(0x0301 + 2 * 45), 0x5A);
  EXPECT_EQ(img.GetByte(0x0700 + 2 * 40), 0x68);
  DecodeImage(img, rec);
  EXPECT_FALSE(rec.CHUSA[45].Duplex);
  EXPECT_FALSE(rec.CHUSA[45].LowPower);
}

TEST(Encode, DigitsNamesAndDisplayCharacters) {
  auto [rec, img] = FreshImageAndRecord();
  rec.DscBasic.UserMmsi = "123456789";
  rec.AtisCommon.AtisCode = "98765";
  rec.CHEXP[0].CHDisplayL = "7";
  rec.CHEXP[0].CHDisplayR = "";
  rec.CHEXP[1].CHDisplayL = "123";
  rec.CHEXP[1].CHDisplayR = "AB";
  rec.AtisCallSign[0].MID = "1";
  rec.AtisCallSign[0].DISP = "ABCD";
  rec.CHMMSID[0] = {true, "HARBOUR", "987654321"};
  EncodeImage(rec, img, 2);
  EXPECT_EQ(img.GetByte(0x0084), 0x90);
  EXPECT_EQ(img.GetByte(0x007D), 0x5F);
  EXPECT_EQ(img.GetByte(0x007F), 0xFF);
  EXPECT_EQ(img.GetByte(0x0901), '7');
  EXPECT_EQ(img.GetByte(0x0902), ' ');
  EXPECT_EQ(img.GetByte(0x0903), ' ');
  EXPECT_EQ(img.GetByte(0x0911), '1');
  EXPECT_EQ(img.GetByte(0x0912), '2');
  EXPECT_EQ(img.GetByte(0x0913), 'B');
  EXPECT_EQ(StoredForm(rec, 2).AtisCallSign[0].MID, "  1");  // stored right-justified
  EXPECT_EQ(StoredForm(rec, 2).AtisCallSign[0].DISP, "BCD");
  EXPECT_EQ(rec.DscBasic.UserMmsi, "123456789");  // digits are not padded in the record
  EXPECT_EQ(img.GetDigits(0x3200), "9876543210");
  EXPECT_EQ(img.GetText(0x3205, 11), "HARBOUR");
  EXPECT_EQ(img.GetByte(0x3210), 0xFF);  // entry 2 is empty
}
