#include "editor/pages/channel_texts.h"

#include <charconv>

#include "model/builtin_tables.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

const BuiltinChannel* TableRow(const Channel& ch) {
  const auto& table = BuiltinChannels();
  if (ch.Position < 0 || static_cast<std::size_t>(ch.Position) >= table.size()) return nullptr;
  return &table[static_cast<std::size_t>(ch.Position)];
}

}  // namespace

std::string PlanChannelLabel(const Channel& ch) {
  const BuiltinChannel* row = TableRow(ch);
  return row ? row->label : "";
}

int TableRowOfLabel(std::string_view label) {
  const auto& table = BuiltinChannels();
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].label == label) return static_cast<int>(i);
  return -1;
}

ChannelDisplay PlanChannelDisplay(std::string_view label) {
  ChannelDisplay d;
  std::string_view digits = label;
  if (const auto a = label.find_first_of("Aa"); a != std::string_view::npos) {
    digits = label.substr(0, a);
    d.suffix = std::string(label.substr(a));
  }
  int n = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (error != std::errc() || end != digits.data() + digits.size() || n < 0) {
    d.number = std::string(digits);  // not a number: shown as it stands
  } else if (n < 100) {
    d.number = std::string(n < 10 ? "0" : "") + std::to_string(n);
  } else if (n < 110) {
    d.number = "o" + std::to_string(n - 100);
  } else {
    d.number = "'" + std::to_string(n - 110);
  }
  return d;
}

std::string PlanRxText(const Channel& ch) {
  const BuiltinChannel* row = TableRow(ch);
  if (!row) return FrequencyText(0);
  return FrequencyText(ch.Duplex ? row->duplexRx : row->rx);
}

std::string PlanTxText(const Channel& ch) {
  const BuiltinChannel* row = TableRow(ch);
  return FrequencyOrInhibitText(row ? row->tx : 0, ch.RxOnly);
}

void SnapExpansionFrequencies(Channel& ch) {
  ch.Rxfreq = SnappedExpFrequency(ch.Rxfreq);
  ch.Txfreq = SnappedExpFrequency(ch.Txfreq);
}

std::string ExpansionFrequencyText(double mhz) { return ExpFrequencyText(mhz); }

const std::vector<std::string>& ScramblerItems() {
  static const std::vector<std::string> items{"Off", "0", "1", "2", "3"};
  return items;
}

int ScramblerIndex(int scramble) { return (scramble & 4) ? (scramble & 3) + 1 : 0; }

int ScrambleOfIndex(int scramble, int index) { return index <= 0 ? (scramble & ~4) : 4 | ((index - 1) & 3); }

}  // namespace qm47
