#include <gtest/gtest.h>

#include <stdexcept>

#include <vector>

#include "model/memory_image.h"
#include "model/settings_record.h"

using namespace qm47;

namespace {
std::vector<int> Bytes(const MemoryImage& img, Address a, int n) {
  std::vector<int> out;
  for (int i = 0; i < n; ++i) out.push_back(img.GetByte(a + i));
  return out;
}
void Put(MemoryImage& img, Address a, std::vector<int> bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) img.SetByte(a + static_cast<int>(i), bytes[i]);
}
}  // namespace

TEST(FieldAccess, BitsOnlyValueOneSetsAndOutOfRangeBitsAreIgnored) {
  std::uint8_t b = 0x00;
  SetBit(b, 1, 3);
  EXPECT_EQ(b, 0x08);
  SetBit(b, -1, 3);  // a true given as -1 clears
  EXPECT_EQ(b, 0x00);
  b = 0xFF;
  SetBit(b, 2, 0);
  EXPECT_EQ(b, 0xFE);
  EXPECT_TRUE(GetBit(0x80, 7));
  EXPECT_FALSE(GetBit(0xFF, 8));
  EXPECT_FALSE(GetBit(0xFF, -1));
  SetBit(b, 1, 9);
  EXPECT_EQ(b, 0xFE);
}

TEST(FieldAccess, ByteAndWordValuesNeverSpillIntoNeighbours) {
  MemoryImage img;
  img.SetByte(0x10, 300);
  img.SetByte(0x11, -5);
  EXPECT_EQ(Bytes(img, 0x0F, 4), (std::vector<int>{0xFF, 255, 0, 0xFF}));

  img.SetWordBE(0x20, -1);
  EXPECT_EQ(Bytes(img, 0x20, 2), (std::vector<int>{0xFF, 0xFF}));
  EXPECT_EQ(img.GetWordBE(0x20), 65535);
  img.SetWordBE(0x20, 0x1234);
  EXPECT_EQ(Bytes(img, 0x20, 2), (std::vector<int>{0x12, 0x34}));
  img.SetWordBE(0x20, 70000);  // above the field: stored as the empty word
  EXPECT_EQ(Bytes(img, 0x1F, 4), (std::vector<int>{0xFF, 0xFF, 0xFF, 0xFF}));

  // Past either end of the image is a fault in every build, never a stray byte.
  EXPECT_THROW(img.GetByte(kImageSize), std::out_of_range);
  EXPECT_THROW(img.SetByte(-1, 0), std::out_of_range);
  EXPECT_THROW(img.GetWordBE(kLastAddress), std::out_of_range);
}

TEST(FieldAccess, TextStopsAtFirstByteOutsideTheCharset) {
  MemoryImage img;
  img.SetText(0x100, "CH 16", 12);
  EXPECT_EQ(Bytes(img, 0x100, 12),
            (std::vector<int>{'C', 'H', ' ', '1', '6', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(img.GetText(0x100, 12), "CH 16");

  img.SetText(0x200, "a#b", 12);
  EXPECT_EQ(Bytes(img, 0x200, 4), (std::vector<int>{'a', 0xFF, 'b', 0xFF}));
  EXPECT_EQ(img.GetText(0x200, 12), "a");
  EXPECT_EQ(img.GetTextSkipping(0x200, 12), "ab");

  img.SetText(0x300, "TOO LONG NAME", 4);
  EXPECT_EQ(img.GetText(0x300, 4), "TOO");  // trailing space dropped
  EXPECT_EQ(img.GetByte(0x304), 0xFF);

  Put(img, 0x400, {0x20, 0x41, 0x20, 0x20});
  EXPECT_EQ(img.GetText(0x400, 4), " A");
  Put(img, 0x400, {0x55, 0x53, 0x41, 0xFF});
  EXPECT_EQ(img.GetText(0x400, 4), "USA");
}

TEST(FieldAccess, CallSignsAreRightJustifiedWithoutCommasOrSpaces) {
  MemoryImage img;
  img.SetCallSign(0x3100, "12", 3);
  EXPECT_EQ(Bytes(img, 0x3100, 3), (std::vector<int>{0xFF, '1', '2'}));
  img.SetCallSign(0x3103, "ABCD", 3);
  EXPECT_EQ(img.GetTextSkipping(0x3103, 3), "BCD");
  img.SetCallSign(0x3106, "A,B", 3);
  EXPECT_EQ(Bytes(img, 0x3106, 3), (std::vector<int>{'A', 0xFF, 'B'}));
  EXPECT_EQ(img.GetTextSkipping(0x3106, 3), "AB");
}

TEST(FieldAccess, DigitsArePackedDecimalWithOptionalZeroLastNibble) {
  MemoryImage img;
  Put(img, 0x80, {0x12, 0x3F, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(img.GetDigits(0x80), "123");

  img.SetDigits(0x80, "   ", true);
  EXPECT_EQ(Bytes(img, 0x80, 5), (std::vector<int>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(img.GetDigits(0x80), "");

  img.SetDigits(0x80, "12", false);
  EXPECT_EQ(Bytes(img, 0x80, 5), (std::vector<int>{0x12, 0xFF, 0xFF, 0xFF, 0xFF}));
  img.SetDigits(0x80, "12", true);
  EXPECT_EQ(Bytes(img, 0x80, 5), (std::vector<int>{0x12, 0xFF, 0xFF, 0xFF, 0xF0}));

  img.SetDigits(0x80, "123456789", true);
  EXPECT_EQ(Bytes(img, 0x80, 5), (std::vector<int>{0x12, 0x34, 0x56, 0x78, 0x90}));
  EXPECT_EQ(img.GetDigits(0x80), "1234567890");
  img.SetDigits(0x80, "123456789", false);
  EXPECT_EQ(Bytes(img, 0x80, 5), (std::vector<int>{0x12, 0x34, 0x56, 0x78, 0x9F}));
  EXPECT_EQ(img.GetDigits(0x80), "123456789");

  img.SetDigits(0x80, "12x4", false);  // a non-digit becomes an F nibble and ends the number
  EXPECT_EQ(img.GetDigits(0x80), "12");
}

TEST(FieldAccess, FrequenciesArePackedMhzAboveHundred) {
  MemoryImage img;
  img.SetFrequency(0x900, 156.8);
  EXPECT_EQ(Bytes(img, 0x900, 3), (std::vector<int>{0x56, 0x80, 0x00}));
  EXPECT_DOUBLE_EQ(img.GetFrequency(0x900), 156.8);
  img.SetFrequency(0x900, 157.0125);
  EXPECT_EQ(Bytes(img, 0x900, 3), (std::vector<int>{0x57, 0x01, 0x25}));
  EXPECT_DOUBLE_EQ(img.GetFrequency(0x900), 157.0125);
  img.SetFrequency(0x900, 105.5);
  EXPECT_EQ(Bytes(img, 0x900, 3), (std::vector<int>{0x05, 0x50, 0x00}));

  for (double none : {0.0, 100.0, -3.0, 200.0, 250.0, 199.99996}) {
    img.SetFrequency(0x900, none);
    EXPECT_EQ(Bytes(img, 0x900, 3), (std::vector<int>{0, 0, 0})) << none;
  }
  EXPECT_EQ(img.GetFrequency(0x900), 0);

  Put(img, 0x900, {0xFF, 0xFF, 0xFF});
  EXPECT_EQ(img.GetFrequency(0x900), 0);
  Put(img, 0x900, {0x5F, 0x00, 0x00});  // the number ends at the first non-digit
  EXPECT_DOUBLE_EQ(img.GetFrequency(0x900), 105);
  Put(img, 0x900, {0xA0, 0x00, 0x00});
  EXPECT_EQ(img.GetFrequency(0x900), 0);
  Put(img, 0x900, {0x56, 0x8F, 0x00});
  EXPECT_DOUBLE_EQ(img.GetFrequency(0x900), 156.8);
}

TEST(FieldAccess, OffsetIsSignAndMagnitudeClampedToTwelveHours) {
  MemoryImage img;
  img.SetOffset(0xFE, -30);
  EXPECT_EQ(img.GetByte(0xFE), 24);
  img.SetOffset(0xFE, 0);
  EXPECT_EQ(img.GetByte(0xFE), 32);
  img.SetOffset(0xFE, 31);
  EXPECT_EQ(img.GetByte(0xFE), 32 + 24);
  img.SetOffset(0xFE, -7);
  EXPECT_EQ(img.GetOffset(0xFE), -7);
  img.SetByte(0xFE, 0);
  EXPECT_EQ(img.GetOffset(0xFE), 0);
  img.SetByte(0xFE, 0xFF);
  EXPECT_EQ(img.GetOffset(0xFE), 31);
}

TEST(FieldAccess, FlagTablesPackFirstChannelIntoBitSeven) {
  MemoryImage img;
  std::vector<Channel> ch(10);
  ch[0].Enable = true;
  ch[7].Enable = true;
  ch[9].Enable = true;
  img.SetFlagTable(0x100, 30, ch, &Channel::Enable);
  // The short list stops after the byte being filled; later bytes keep their content.
  EXPECT_EQ(Bytes(img, 0x100, 3), (std::vector<int>{0x81, 0x40, 0xFF}));

  std::vector<Channel> eight(8);
  img.SetFlagTable(0x200, 5, eight, &Channel::Enable);
  EXPECT_EQ(Bytes(img, 0x200, 2), (std::vector<int>{0x00, 0xFF}));

  std::vector<Channel> back(12);
  img.GetFlagTable(0x100, 30, back, &Channel::Enable);
  for (std::size_t k = 0; k < back.size(); ++k) EXPECT_EQ(back[k].Enable, k == 0 || k == 7 || k == 9);
  EXPECT_FALSE(back[0].ScanMemory);
}
