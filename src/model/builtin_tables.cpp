#include "model/builtin_tables.h"

#include <sstream>

namespace qm47 {

namespace {

std::string TwoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

constexpr const char* kUsaPlan =
    "01A VTS; 05A VTS; 06 SAFTY; 07A COMMERCIAL; 08 COMMERCIAL; 09 CALLING; 10 COMMERCIAL; 11 VTS; "
    "12 VTS; 13 BRG/BRG L; 14 VTS; 15 COMMERCIAL R; 16 DISTRESS; 17 SAR L; 18A COMMERCIAL; "
    "19A COMMERCIAL; 20 PORT OPR D; 20A PORT OPR; 21A CCG; 22A USCG; 23A USCG; 24 TELEPHONE D; "
    "25 TELEPHONE D; 26 TELEPHONE D; 27 TELEPHONE D; 28 TELEPHONE D; 63A VTS; 65A PORT OPR; "
    "66A PORT OPR; 67 BRG/BRG L; 68 SHIP-SHIP; 69 PLEASURE; 70 DSC R; 71 PLEASURE; 72 SHIP-SHIP; "
    "73 PORT OPR; 74 PORT OPR; 75 PORT OPR L; 76 PORT OPR L; 77 PORT OPR L; 78A SHIP-SHIP; "
    "79A SHIP-SHIP; 80A SHIP-SHIP; 81A CCG; 82A CCG; 83A USCG; 84 TELEPHONE D; 85 TELEPHONE D; "
    "86 TELEPHONE D; 87A COMMERCIAL; 88A COMMERCIAL";

constexpr const char* kIntlPlan =
    "01 TELEPHONE D; 02 TELEPHONE D; 03 TELEPHONE D; 04 INTL D; 05 INTL D; 06 SAFTY; 07 INTL D; "
    "08 COMMERCIAL; 09 CALLING; 10 COMMERCIAL; 11 VTS; 12 VTS; 13 BRG/BRG; 14 VTS; 15 COMMERCIAL L; "
    "16 DISTRESS; 17 SAR L; 18 INTL D; 19 INTL D; 20 PORT OPR D; 21 INTL D; 22 INTL D; 23 INTL D; "
    "24 TELEPHONE D; 25 TELEPHONE D; 26 TELEPHONE D; 27 TELEPHONE D; 28 TELEPHONE D; 60 TELEPHONE D; "
    "61 INTL D; 62 INTL D; 63 INTL D; 64 TELEPHONE D; 65 INTL D; 66 INTL D; 67 BRG/BRG; 68 SHIP-SHIP; "
    "69 PLEASURE; 70 DSC R; 71 PLEASURE; 72 SHIP-SHIP; 73 PORT OPR; 74 PORT OPR; 75 PORT OPR L; "
    "76 PORT OPR L; 77 PORT OPR; 78 INTL D; 79 INTL D; 80 INTL D; 81 INTL D; 82 INTL D; 83 INTL D; "
    "84 TELEPHONE D; 85 TELEPHONE D; 86 TELEPHONE D; 87 PORT OPR; 88 PORT OPR";

constexpr const char* kCanadaPlan =
    "01 TELEPHONE D; 02 TELEPHONE D; 03 TELEPHONE D; 04A CCG; 05A VTS; 06 SAFETY; 07A COMMERCIAL; "
    "08 COMMERCIAL; 09 CALLING; 10 COMMERCIAL; 11 VTS; 12 VTS; 13 BRG/BRG L; 14 VTS; 15 COMMERCIAL L; "
    "16 DISTRESS; 17 SAR L; 18A COMMERCIAL; 19A COMMERCIAL; 20 PORT OPR D L; 21A CCG; 22A USCG; "
    "23 INTL D; 24 TELEPHONE D; 25 TELEPHONE D; 26 TELEPHONE D; 27 TELEPHONE D; 28 TELEPHONE D; "
    "60 TELEPHONE D; 61A CCG; 62A CCG; 63A SHIP-SHIP; 64 TELEPHONE D; 64A COMMERCIAL; 65A PORT OPR; "
    "66A PORT OPR L; 67 BRG/BRG; 68 SHIP-SHIP; 69 PLEASURE; 70 DSC R; 71 PLEASURE; 72 SHIP-SHIP; "
    "73 PORT OPR; 74 PORT OPR; 75 PORT OPR L; 76 PORT OPR L; 77 PORT OPR L; 78A SHIP-SHIP; "
    "79A SHIP-SHIP; 80A SHIP-SHIP; 81A CCG; 82A CCG; 83 CCG D; 83A CCG; 84 TELEPHONE D; "
    "85 TELEPHONE D; 86 TELEPHONE D; 87 PORT OPR; 88 PORT OPR";

struct WeatherRow {
  const char* label;
  const char* name;
  int kHz;
};
constexpr WeatherRow kWeather[] = {
    {"WX01[162.550MHz]", "162.550MHZ", 162550}, {"WX02[162.400MHz]", "162.400MHZ", 162400},
    {"WX03[162.475MHz]", "162.475MHZ", 162475}, {"WX04[162.425MHz]", "162.425MHZ", 162425},
    {"WX05[162.450MHz]", "162.450MHZ", 162450}, {"WX06[162.500MHz]", "162.500MHZ", 162500},
    {"WX07[162.525MHz]", "162.525MHZ", 162525}, {"WX08[161.650MHz]", "161.650MHZ", 161650},
    {"WX09[161.775MHz]", "161.775MHZ", 161775}, {"WX10[163.275MHz]", "163.275MHZ", 163275},
};

}  // namespace

std::vector<BuiltinChannel> BuildBuiltinChannels() {
  std::vector<BuiltinChannel> list;
  list.reserve(kRegionPositions);
  for (int n = 0; n < kRegionPositions / 2; ++n) {
    // 25 kHz interleave from channel 60 on; kHz kept integral so every frequency is exact.
    const int kHz = n < 60 ? 156000 + 50 * n : 156025 + 50 * (n - 60);
    const double f = kHz / 1000.0;
    BuiltinChannel whole;
    whole.label = TwoDigits(n);
    whole.tx = whole.rx = f;
    whole.duplexRx = (kHz + 4600) / 1000.0;
    whole.duplex = true;
    BuiltinChannel simplex;
    simplex.label = whole.label + "A";
    simplex.tx = simplex.rx = f;
    list.push_back(whole);
    list.push_back(simplex);
  }
  return list;
}

std::vector<BuiltinChannel> BuildBuiltinWeather() {
  std::vector<BuiltinChannel> list;
  for (const WeatherRow& row : kWeather) {
    BuiltinChannel ch;
    ch.include = true;
    ch.label = row.label;
    ch.tx = 0;
    ch.rx = ch.duplexRx = row.kHz / 1000.0;
    ch.lowPower = true;
    ch.name = row.name;
    list.push_back(ch);
  }
  return list;
}

const std::vector<BuiltinChannel>& BuiltinChannels() {
  static const std::vector<BuiltinChannel> list = BuildBuiltinChannels();
  return list;
}

const std::vector<BuiltinChannel>& BuiltinWeather() {
  static const std::vector<BuiltinChannel> list = BuildBuiltinWeather();
  return list;
}

ChannelPlan ParseChannelPlan(const std::string& text) {
  ChannelPlan plan;
  std::stringstream rows(text);
  std::string row;
  while (std::getline(rows, row, ';')) {
    std::stringstream words(row);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    ChannelPlanRow r;
    r.label = w.front();
    std::size_t end = w.size();
    while (end > 2 && (w[end - 1] == "D" || w[end - 1] == "L" || w[end - 1] == "R")) {
      const std::string& flag = w[--end];
      r.duplex = r.duplex || flag == "D";
      r.lowPower = r.lowPower || flag == "L";
      r.rxOnly = r.rxOnly || flag == "R";
    }
    for (std::size_t i = 1; i < end; ++i) r.name += (i > 1 ? " " : "") + w[i];
    plan.push_back(r);
  }
  return plan;
}

const ChannelPlan& UsaPlan() {
  static const ChannelPlan plan = ParseChannelPlan(kUsaPlan);
  return plan;
}
const ChannelPlan& IntlPlan() {
  static const ChannelPlan plan = ParseChannelPlan(kIntlPlan);
  return plan;
}
const ChannelPlan& CanadaPlan() {
  static const ChannelPlan plan = ParseChannelPlan(kCanadaPlan);
  return plan;
}

const ChannelPlan& PlanOfRegion(int group) {
  switch (group) {
    case kUSA: return UsaPlan();
    case kINTL: return IntlPlan();
    default: return CanadaPlan();
  }
}

int PositionOfLabel(const std::string& label) {
  if (label.empty()) return -1;
  const bool simplex = label.back() == 'A';
  const std::string digits = simplex ? label.substr(0, label.size() - 1) : label;
  if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  const int n = std::stoi(digits);
  if (n >= kRegionPositions / 2) return -1;
  return 2 * n + (simplex ? 1 : 0);
}

void ApplyChannelPlan(std::vector<Channel>& table, const ChannelPlan& plan) {
  const auto& builtin = BuiltinChannels();
  table.clear();
  table.reserve(kRegionPositions);  // settings held for the whole session: no slack
  for (int k = 0; k < kRegionPositions; ++k) {
    Channel ch;
    ch.Position = static_cast<std::int16_t>(k);
    ch.DupCapable = builtin[static_cast<std::size_t>(k)].duplex;
    ch.TxEnable = true;
    table.push_back(ch);
  }
  for (const ChannelPlanRow& row : plan) {
    const int pos = PositionOfLabel(row.label);
    if (pos < 0) continue;
    Channel& ch = table[static_cast<std::size_t>(pos)];
    ch.Enable = true;
    ch.ChTag = row.name;
    ch.Duplex = row.duplex;
    ch.LowPower = row.lowPower;
    ch.RxOnly = row.rxOnly;
    ch.TxEnable = !row.rxOnly;
    if (row.rxOnly) ch.DupCapable = false;
  }
}

void BuildTableFromList(std::vector<Channel>& table, const std::vector<BuiltinChannel>& list) {
  table.clear();
  for (const BuiltinChannel& entry : list) {
    if (!entry.include) continue;
    Channel ch;
    ch.Position = static_cast<std::int16_t>(table.size());
    ch.Enable = true;
    ch.LowPower = entry.lowPower;
    ch.PowUp = false;
    ch.Duplex = entry.duplex;
    ch.DupCapable = false;
    ch.TxEnable = true;
    ch.DispayA = !entry.label.empty() && entry.label.back() == 'A';
    ch.ScanMemory = false;
    ch.ChTag = entry.name;
    table.push_back(ch);
  }
}

void FillCtcssList(std::vector<std::string>& list) {
  static const char* const kTones[] = {
      "Off",     "67.0Hz",  "69.3Hz",  "71.9Hz",  "74.4Hz",  "77.0Hz",  "79.7Hz",  "82.5Hz",  "85.4Hz",
      "88.5Hz",  "91.5Hz",  "94.8Hz",  "97.4Hz",  "100.0Hz", "103.5Hz", "107.2Hz", "110.9Hz", "114.8Hz",
      "118.8Hz", "123.0Hz", "127.3Hz", "131.8Hz", "136.5Hz", "141.3Hz", "146.2Hz", "151.4Hz", "156.7Hz",
      "159.8Hz", "162.2Hz", "165.5Hz", "167.9Hz", "171.3Hz", "173.8Hz", "177.3Hz", "179.9Hz", "183.5Hz",
      "186.2Hz", "189.9Hz", "192.8Hz", "196.6Hz", "199.5Hz", "203.5Hz", "206.5Hz", "210.7Hz", "218.1Hz",
      "225.7Hz", "229.1Hz", "233.6Hz", "241.8Hz", "250.3Hz", "254.1Hz"};
  list.assign(std::begin(kTones), std::end(kTones));
}

void FillDcsList(std::vector<std::string>& list) {
  static const char* const kCodes[] = {
      "Off", "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071", "072",
      "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145", "152", "155", "156",
      "162", "165", "172", "174", "205", "212", "223", "225", "226", "243", "244", "245", "246", "251", "252",
      "255", "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346",
      "351", "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454",
      "455", "462", "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612",
      "624", "627", "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};
  list.assign(std::begin(kCodes), std::end(kCodes));
}

}  // namespace qm47
