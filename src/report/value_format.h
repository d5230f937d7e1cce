// One stored setting -> the short text the report and the grids show.
#pragma once

#include <array>
#include <string>

namespace qm47 {

// The text followed by spaces, cut to exactly `width` characters.
std::string Pad(const std::string& text, int width);
// Pad(label, width - 1) followed by ": ", width + 1 characters in all.
std::string LabelCell(const std::string& label, int width);

std::string OnOffText(long long value);
std::string HiLowText(long long value);
std::string TxText(long long value);
std::string LowText(long long value);
std::string UpText(long long value);
std::string DupText(long long value);
std::string MemText(long long value);
std::string CmpText(long long value);
std::string NarrowText(long long value);
std::string EnableText(long long value);

// Value lists: a number outside the list gives the empty text.
std::string TxPowerDisplayText(long long value);
std::string ResumeTimeText(long long value);
std::string WeatherAlertText(long long value);
std::string BearingText(long long value);

// The 49 time offsets -12:00 .. +12:00 in half hours, " 0" in the middle.
const std::array<std::string, 49>& OffsetList();
std::string OffsetTimeText(long long halfHours);

// Label of a built-in position, EXP1..EXP40 for 240..279, "Off" for anything else.
std::string PriorityChannelText(long long position);
std::string ScrambleText(long long value);

// "000.000" in MHz, "---.---" when there is no frequency.
std::string FrequencyText(double mhz);
std::string FrequencyOrInhibitText(double mhz, bool inhibit);
// The frequency snapped down to 5 kHz unless it already lies on a 5 or 12.5 kHz step.
double SnappedExpFrequency(double mhz);
// The snapped frequency as "000.0000"; "---.----" when there is none.
std::string ExpFrequencyText(double mhz);

std::string BlankAsDashes(const std::string& text);
std::string Pad3OrDashes(const std::string& text);
std::string Pad12OrDashes(const std::string& text);
std::string Pad9OrDashes(const std::string& text);
std::string ExpPrefixText();

// `value` with `decimals` decimals, at least `integerDigits` integer digits (zero
// padded), halves away from zero on the value's 15-digit decimal form.
std::string FixedDecimalText(double value, int integerDigits, int decimals);

}  // namespace qm47
