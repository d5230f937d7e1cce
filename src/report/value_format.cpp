#include "report/value_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "model/builtin_tables.h"
#include "model/settings_record.h"

namespace qm47 {

namespace {

std::string Choose(long long value, const char* set, const char* clear) { return value != 0 ? set : clear; }

template <std::size_t N>
std::string FromList(long long value, const char* const (&list)[N]) {
  if (value < 0 || value >= static_cast<long long>(N)) return "";
  return list[value];
}

bool AllSpaces(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

std::string Pad(const std::string& text, int width) {
  if (width <= 0) return "";
  std::string out = text.substr(0, static_cast<std::size_t>(width));
  out.resize(static_cast<std::size_t>(width), ' ');
  return out;
}

std::string LabelCell(const std::string& label, int width) { return Pad(label, width - 1) + ": "; }

std::string OnOffText(long long value) { return Choose(value, "On", "Off"); }
std::string HiLowText(long long value) { return Choose(value, "Hi", "Low"); }
std::string TxText(long long value) { return Choose(value, "TX", "--"); }
std::string LowText(long long value) { return Choose(value, "LOW", "---"); }
std::string UpText(long long value) { return Choose(value, "UP", "--"); }
std::string DupText(long long value) { return Choose(value, "DUP", "---"); }
std::string MemText(long long value) { return Choose(value, "MEM", "---"); }
std::string CmpText(long long value) { return Choose(value, "CMP", "---"); }
std::string NarrowText(long long value) { return Choose(value, "N ", "--"); }
std::string EnableText(long long value) { return Choose(value, "ENABLE", "------"); }

std::string TxPowerDisplayText(long long value) {
  static const char* const kTexts[] = {"Lo Po Only", "Lo Po on Changing CH", "Last TX Po"};
  return FromList(value, kTexts);
}

std::string ResumeTimeText(long long value) {
  static const char* const kTexts[] = {"--", "1Sec", "2Sec", "3Sec"};
  return FromList(value, kTexts);
}

std::string WeatherAlertText(long long value) {
  static const char* const kTexts[] = {"OFF", "On Wx", "On SCAN", "WX and SCAN"};
  return FromList(value, kTexts);
}

std::string BearingText(long long value) {
  static const char* const kTexts[] = {"True", "Mag"};
  return FromList(value, kTexts);
}

std::string FixedDecimalText(double value, int integerDigits, int decimals) {
  if (!std::isfinite(value)) return "";
  char buf[64];
  const auto conv = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const std::string s(buf, conv.ptr);
  const std::size_t e = s.find('e');
  const std::string digits = s.substr(0, 1) + s.substr(2, e - 2);  // digit k weighs 10^(exponent - k)
  const int exponent = std::atoi(s.c_str() + e + 1);

  // Every digit from the highest place down to one guard place below the last decimal.
  std::string all;
  for (int w = std::max(exponent, 0); w >= -decimals - 1; --w) {
    const int k = exponent - w;
    all += k >= 0 && k < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(k)] : '0';
  }
  const bool up = all.back() >= '5';
  all.pop_back();
  if (up) {
    std::size_t i = all.size();
    while (i > 0 && all[i - 1] == '9') all[--i] = '0';
    if (i == 0) {
      all.insert(all.begin(), '1');
    } else {
      ++all[i - 1];
    }
  }
  std::string whole = all.substr(0, all.size() - static_cast<std::size_t>(decimals));
  const std::string fraction = all.substr(whole.size());
  while (whole.size() > static_cast<std::size_t>(std::max(integerDigits, 1)) && whole.front() == '0') whole.erase(0, 1);
  if (whole.size() < static_cast<std::size_t>(integerDigits)) {
    whole.insert(0, static_cast<std::size_t>(integerDigits) - whole.size(), '0');
  }
  std::string out = decimals > 0 ? whole + "." + fraction : whole;
  if (value < 0 && out.find_first_not_of("0.") != std::string::npos) out.insert(out.begin(), '-');
  return out;
}

const std::array<std::string, 49>& OffsetList() {
  static const std::array<std::string, 49> list = [] {
    std::array<std::string, 49> l;
    for (int i = 0; i < 49; ++i) {
      const double x = -12.0 + 0.5 * i;
      std::string t;
      if (x < 0) {
        t = FixedDecimalText(x, 1, 2);
      } else if (x == 0) {
        t = " 0";
      } else {
        t = "+" + FixedDecimalText(x, 1, 2);
      }
      std::size_t sep = t.find('.');
      if (sep == std::string::npos) sep = t.find(',');
      if (sep != std::string::npos) t[sep] = ':';
      if (const std::size_t half = t.find(":50"); half != std::string::npos) t.replace(half, 3, ":30");
      l[static_cast<std::size_t>(i)] = t;
    }
    return l;
  }();
  return list;
}

std::string OffsetTimeText(long long halfHours) {
  if (halfHours < -24 || halfHours > 24) return "";
  return OffsetList()[static_cast<std::size_t>(halfHours + 24)];
}

std::string PriorityChannelText(long long position) {
  const auto& builtin = BuiltinChannels();
  const auto last = static_cast<long long>(builtin.size()) - 1;
  if (position < 0) return "Off";
  if (position <= last) return builtin[static_cast<std::size_t>(position)].label;
  if (position <= last + kExpChannels) return ExpPrefixText() + std::to_string(position - last);
  return "Off";
}

std::string ScrambleText(long long value) {
  if ((value & 4) == 0) return "--";
  return " " + std::to_string(value & 3);
}

std::string FrequencyText(double mhz) {
  if (!(mhz > 0) || !std::isfinite(mhz)) return "---.---";
  return FixedDecimalText(mhz, 3, 3);
}

std::string FrequencyOrInhibitText(double mhz, bool inhibit) {
  return inhibit ? "---.---" : FrequencyText(mhz);
}

double SnappedExpFrequency(double mhz) {
  if (!(mhz > 0) || !std::isfinite(mhz) || mhz >= 1e9) return mhz;
  const long long k = std::llround(mhz * 10000);  // 100 Hz units
  return k % 50 != 0 && k % 125 != 0 ? std::floor(mhz * 200) / 200 : mhz;  // down to 5 kHz
}

std::string ExpFrequencyText(double mhz) {
  if (!(mhz > 0) || !std::isfinite(mhz)) return "---.----";
  return FixedDecimalText(SnappedExpFrequency(mhz), 3, 4);
}

std::string BlankAsDashes(const std::string& text) { return AllSpaces(text) ? "----" : text; }
std::string Pad3OrDashes(const std::string& text) { return text.empty() ? "---" : Pad(text, 3); }
std::string Pad12OrDashes(const std::string& text) { return text.empty() ? std::string(12, '-') : Pad(text, 12); }
std::string Pad9OrDashes(const std::string& text) { return text.empty() ? std::string(9, '-') : Pad(text, 9); }
std::string ExpPrefixText() { return "EXP"; }

}  // namespace qm47
