#include <gtest/gtest.h>

#include "report/value_format.h"

using namespace qm47;

// Names cut and filled to their columns, and "Count : ", are the goldens'; these edges no report reaches.
TEST(ValueFormat, PadAndLabelCellCutToTheWidth) {
  EXPECT_EQ(Pad("ABC", 0), "");
  EXPECT_EQ(LabelCell("Longer label", 4), "Lon: ");
}

TEST(ValueFormat, ValueListsGiveEmptyTextOutsideTheList) {
  EXPECT_EQ(TxPowerDisplayText(3), "");
  EXPECT_EQ(ResumeTimeText(5), "");
  EXPECT_EQ(WeatherAlertText(3), "WX and SCAN");
  EXPECT_EQ(WeatherAlertText(255), "");
  EXPECT_EQ(BearingText(1), "Mag");
  EXPECT_EQ(BearingText(-1), "");
}

// The list itself is the Common page's test.
TEST(ValueFormat, OffsetTimeRunsInHalfHoursWithASpacedZero) {
  EXPECT_EQ(OffsetTimeText(-24), "-12:00");
  EXPECT_EQ(OffsetTimeText(-1), "-0:30");
  EXPECT_EQ(OffsetTimeText(0), " 0");
  EXPECT_EQ(OffsetTimeText(1), "+0:30");
  EXPECT_EQ(OffsetTimeText(25), "");
  EXPECT_EQ(OffsetTimeText(31), "");  // a fresh image's value
}

TEST(ValueFormat, PriorityChannelTexts) {
  EXPECT_EQ(PriorityChannelText(-1), "Off");
  EXPECT_EQ(PriorityChannelText(0), "00");
  EXPECT_EQ(PriorityChannelText(32), "16");
  EXPECT_EQ(PriorityChannelText(239), "119A");
  EXPECT_EQ(PriorityChannelText(240), "EXP1");
  EXPECT_EQ(PriorityChannelText(279), "EXP40");
  EXPECT_EQ(PriorityChannelText(280), "Off");
  EXPECT_EQ(PriorityChannelText(65535), "Off");
}

TEST(ValueFormat, ScrambleShowsTheCodeOnlyWhenOn) {
  EXPECT_EQ(ScrambleText(0), "--");
  EXPECT_EQ(ScrambleText(3), "--");
  EXPECT_EQ(ScrambleText(4), " 0");
  EXPECT_EQ(ScrambleText(7), " 3");
  EXPECT_EQ(ScrambleText(13), " 1");
}

TEST(ValueFormat, FrequencyTexts) {
  EXPECT_EQ(FrequencyText(0), "---.---");
  EXPECT_EQ(FrequencyText(-156.8), "---.---");
  EXPECT_EQ(FrequencyText(156.8), "156.800");
  EXPECT_EQ(FrequencyText(9.5), "009.500");
  EXPECT_EQ(FrequencyText(156.0125), "156.013");  // halves away from zero, on the decimal value
  EXPECT_EQ(FrequencyText(1234.5), "1234.500");
  EXPECT_EQ(FrequencyText(999.9996), "1000.000");
  EXPECT_EQ(FrequencyOrInhibitText(156.8, true), "---.---");
  EXPECT_EQ(FrequencyOrInhibitText(156.8, false), "156.800");
  EXPECT_EQ(FixedDecimalText(-0.5, 1, 2), "-0.50");
  EXPECT_EQ(FixedDecimalText(-0.001, 1, 2), "0.00");
}

TEST(ValueFormat, ExpFrequencySnapsOffStepValuesDownTo5kHz) {
  struct Case {
    double stored;
    double snapped;
    const char* text;
  };
  for (const Case& c : {Case{156.0125, 156.0125, "156.0125"},  // a 12.5 kHz step: kept
                        Case{157.005, 157.005, "157.0050"},    // a 5 kHz step: kept
                        Case{157.0031, 157.0, "157.0000"},     // neither: down to 5 kHz
                        Case{161.6199, 161.615, "161.6150"},
                        Case{0, 0, "---.----"},
                        Case{-3, -3, "---.----"}}) {
    EXPECT_DOUBLE_EQ(SnappedExpFrequency(c.stored), c.snapped) << c.stored;
    EXPECT_EQ(ExpFrequencyText(c.stored), c.text) << c.stored;
  }
}
