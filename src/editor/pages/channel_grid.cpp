#include "editor/pages/channel_grid.h"

#include "editor/pages/channel_texts.h"
#include "editor/pages/control_state.h"
#include "editor/pages/tree.h"
#include "report/value_format.h"

namespace qm47 {

namespace {

const std::array<GridColumn, kChannelGridColumns> kPlanColumns{{
    {"CH", 800},
    {"RX[MHz]", 1000},
    {"TX[MHz]", 1000},
    {"TX", 600},
    {"LOW", 600},
    {"UP", 600},
    {"DUP", 600},
    {"MEM", 600},
    {"VS", 600},
    {"CH Name", 2000},
}};

const std::array<GridColumn, kChannelGridColumns> kExpansionColumns{{
    {"CH", 800},
    {"ENABLE", 1000},
    {"DISP", 800},
    {"RX[MHz]", 1000},
    {"TX[MHz]", 1000},
    {"LOW", 600},
    {"UP", 600},
    {"MEM", 600},
    {"VS", 600},
    {"CH Name", 2000},
}};

ChannelGrid Empty(int group, const std::array<GridColumn, kChannelGridColumns>& columns) {
  ChannelGrid g;
  g.hint = kGridHint;
  g.group = group;
  g.columns = columns;
  return g;
}

std::string VsText(const Channel& ch, bool scrambler) { return scrambler ? ScrambleText(ch.Scramble) : ""; }

}  // namespace

ChannelGrid PlanChannelGrid(const SettingsRecord& rec, int group, bool scrambler) {
  ChannelGrid g = Empty(group, kPlanColumns);
  if (group < kUSA || group > kCanada) return g;
  for (const Channel& ch : rec.Region(group)) {
    if (!ch.Enable) continue;
    ChannelGridRow row;
    const std::string label = PlanChannelLabel(ch);
    row.cells = {label,
                 PlanRxText(ch),
                 PlanTxText(ch),
                 TxText(ch.TxEnable),
                 LowText(ch.LowPower),
                 UpText(ch.PowUp),
                 DupText(ch.Duplex),
                 MemText(ch.ScanMemory),
                 VsText(ch, scrambler),
                 ch.ChTag};
    // The jump goes by the row's channel number text, whatever list entry drew it.
    if (const int tableRow = TableRowOfLabel(label); tableRow >= 0) row.nodeKey = ChannelNodeKey(group, tableRow);
    g.rows.push_back(std::move(row));
  }
  return g;
}

ChannelGrid ExpansionChannelGrid(const SettingsRecord& rec, bool scrambler) {
  ChannelGrid g = Empty(kEXP, kExpansionColumns);
  for (std::size_t k = 0; k < rec.CHEXP.size(); ++k) {
    const Channel& ch = rec.CHEXP[k];
    const int number = static_cast<int>(k) + 1;
    ChannelGridRow row;
    row.cells = {std::to_string(number),
                 EnableText(ch.Enable),
                 ch.CHDisplayL + ch.CHDisplayR,
                 ExpansionFrequencyText(ch.Rxfreq),
                 ExpansionFrequencyText(ch.Txfreq),
                 LowText(ch.LowPower),
                 UpText(ch.PowUp),
                 MemText(ch.ScanMemory),
                 VsText(ch, scrambler),
                 ch.ChTag};
    row.nodeKey = ChannelNodeKey(kEXP, number);
    g.rows.push_back(std::move(row));
  }
  return g;
}

ChannelGrid ChannelListFor(Session& s, int group) {
  if (group != kEXP) return PlanChannelGrid(s.record, group, s.model.scrambler);
  s.Tidy(record_area::Expansion, [](SettingsRecord& r) {
    for (Channel& ch : r.CHEXP) SnapExpansionFrequencies(ch);
  });
  return ExpansionChannelGrid(s.record, s.model.scrambler);
}

std::string ChannelGridJump(const ChannelGrid& grid, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= grid.rows.size()) return "";
  return grid.rows[static_cast<std::size_t>(row)].nodeKey;
}

}  // namespace qm47
