#include <gtest/gtest.h>

#include "report/value_format.h"

using namespace qm47;

// Names cut and filled to their columns, "Count : ", and every value a fresh or the crafted
// record shows are the goldens'; these edges no report reaches.
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
  // The offset list itself is the Common page's test.
  EXPECT_EQ(OffsetTimeText(25), "");
  EXPECT_EQ(OffsetTimeText(31), "");  // a fresh image's value
}

TEST(ValueFormat, PriorityChannelTexts) {
  EXPECT_EQ(PriorityChannelText(-1), "Off");
  EXPECT_EQ(PriorityChannelText(0), "00");
  EXPECT_EQ(PriorityChannelText(279), "EXP40");
  EXPECT_EQ(PriorityChannelText(280), "Off");
}

TEST(ValueFormat, ScrambleShowsTheCodeOnlyWhenOn) {
  EXPECT_EQ(ScrambleText(4), " 0");
  EXPECT_EQ(ScrambleText(7), " 3");
  EXPECT_EQ(ScrambleText(13), " 1");
}

TEST(ValueFormat, FrequencyTexts) {
  EXPECT_EQ(FrequencyText(0), "---.---");
  EXPECT_EQ(FrequencyText(-156.8), "---.---");
  EXPECT_EQ(FrequencyText(9.5), "009.500");
  EXPECT_EQ(FrequencyText(156.0125), "156.013");  // halves away from zero, on the decimal value
  EXPECT_EQ(FrequencyText(1234.5), "1234.500");
  EXPECT_EQ(FrequencyText(999.9996), "1000.000");
  EXPECT_EQ(FixedDecimalText(-0.5, 1, 2), "-0.50");
  EXPECT_EQ(FixedDecimalText(-0.001, 1, 2), "0.00");
}

TEST(ValueFormat, ExpFrequencySnapsOffStepValuesDownTo5kHz) {
  struct Case {
    double stored;
    double snapped;
    const char* text;
  };
  // A 12.5 kHz step kept, 157.0031 down to 157.0000 and no frequency are the crafted golden's.
  for (const Case& c : {Case{157.005, 157.005, "157.0050"},  // a 5 kHz step: kept
                        Case{161.6199, 161.615, "161.6150"},  // neither: down to 5 kHz, not to the nearest
                        Case{-3, -3, "---.----"}}) {
    EXPECT_DOUBLE_EQ(SnappedExpFrequency(c.stored), c.snapped) << c.stored;
    EXPECT_EQ(ExpFrequencyText(c.stored), c.text) << c.stored;
  }
}
