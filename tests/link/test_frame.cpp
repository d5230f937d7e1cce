#include <gtest/gtest.h>

#include "link/frame.h"

namespace qm47 {
namespace {

Bytes HexBytes(std::initializer_list<int> values) {
  Bytes b;
  for (int v : values) b.push_back(static_cast<std::uint8_t>(v));
  return b;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(Frame, BuildFrame_WorkedExamplesByteForByte) {
  EXPECT_EQ(BuildFrame("#CEPSR", "00", "", ""),
            HexBytes({0x23, 0x43, 0x45, 0x50, 0x53, 0x52, 0x09, 0x30, 0x30, 0x09, 0x37, 0x34, 0x0D, 0x0A}));
  EXPECT_EQ(BuildFrame("#CEPRD", HexField(0x0040, 4), HexField(64, 2), ""),
            HexBytes({0x23, 0x43, 0x45, 0x50, 0x52, 0x44, 0x09, 0x30, 0x30, 0x34, 0x30, 0x09, 0x34, 0x30, 0x09, 0x36,
                      0x41, 0x0D, 0x0A}));
  EXPECT_EQ(BuildFrame("#CEPRD", HexField(0x3FFE, 4), HexField(2, 2), ""), Text("#CEPRD\t3FFE\t02\t1E\r\n"));
  const std::uint8_t ff = 0xFF;
  EXPECT_EQ(BuildFrame("#CEPWR", HexField(0x0002, 4), HexField(1, 2), HexData(std::span(&ff, 1))),
            HexBytes({0x23, 0x43, 0x45, 0x50, 0x57, 0x52, 0x09, 0x30, 0x30, 0x30, 0x32, 0x09, 0x30, 0x31, 0x09, 0x46,
                      0x46, 0x09, 0x37, 0x33, 0x0D, 0x0A}));
  // Nothing but the command: command, TAB, checksum, CR LF.
  EXPECT_EQ(BuildFrame("#CMDXX", "", "", ""), Text("#CMDXX\t60\r\n"));
}

// Padding shows in the worked examples above.
TEST(Frame, Fields_CutToTheirWidth) {
  EXPECT_EQ(HexField(0x12345, 4), "2345");
  const std::uint8_t bytes[] = {0x0F, 0xFF, 0xA5};
  EXPECT_EQ(HexData(bytes), "0FFFA5");
}

TEST(Frame, CheckFrame_AcceptsTheWorkedAnswersInEitherCase) {
  EXPECT_TRUE(CheckFrame("#CEPDT\t0040\t02\tA55A\t63"));
  EXPECT_TRUE(CheckFrame("#CEPSD\t00\t62"));
  EXPECT_TRUE(CheckFrame("#CEPSD\t01\t63"));
  EXPECT_TRUE(CheckFrame("#CEPSR\t00\t74"));
  EXPECT_TRUE(CheckFrame("#CEPRD\t0040\t40\t6a"));  // lower-case checksum digits

  EXPECT_FALSE(CheckFrame("#CEPSD\t00\t63"));
  EXPECT_FALSE(CheckFrame(""));
  EXPECT_FALSE(CheckFrame("00"));
  // Three characters: one byte of body against the checksum text.
  EXPECT_TRUE(CheckFrame("A41"));
  // Text that is not hexadecimal reads as its leading digits: "4Z" is 4, "ZZ" is 0.
  EXPECT_TRUE(CheckFrame(std::string("\x04") + "4Z"));
  EXPECT_TRUE(CheckFrame(std::string(1, '\0') + "ZZ"));
}

TEST(Frame, HexValue_ReadsLeadingDigitsAndSaturates) {
  EXPECT_EQ(HexValue("3ffe"), 0x3FFEu);
  EXPECT_EQ(HexValue("40x1"), 0x40u);
  EXPECT_EQ(HexValue("x40"), 0u);
  EXPECT_EQ(HexValue(""), 0u);
  // Enormous fields never wrap round onto a valid address.
  EXPECT_EQ(HexValue("1000000000040"), 0x1'0000'0000u);
}

}  // namespace
}  // namespace qm47
