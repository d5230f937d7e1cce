// The channel list grid (MSFlexGrid1): one row per enabled channel of a plan, or all
// forty expansion channels, with the node each row jumps to.
//
//   grid_ = ChannelListFor(session_, group);  // columns, widths, rows; then fill the table
//   connect(table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
//     window_.SelectNode(ChannelGridJump(grid_, row));  // as a node click: validates first
//   });                                               // Enter in the table does the same
#pragma once

#include <array>
#include <string>
#include <vector>

#include "editor/pages/control_state.h"
#include "editor/session/session.h"
#include "model/models.h"
#include "model/settings_record.h"

namespace qm47 {

inline constexpr int kChannelGridColumns = 10;

struct ChannelGridRow {
  std::array<std::string, kChannelGridColumns> cells;  // left-aligned
  std::string nodeKey;  // "PU32", "E7": the node a double click or Enter selects
};

struct ChannelGrid {
  std::string name = "MSFlexGrid1";
  std::string hint;
  int group = kUSA;
  std::array<GridColumn, kChannelGridColumns> columns;
  std::vector<ChannelGridRow> rows;  // below the fixed header row, from 0
};

// A plan list (kUSA, kINTL, kCanada): the enabled entries in list order.
ChannelGrid PlanChannelGrid(const SettingsRecord& rec, int group, bool scrambler);
// The expansion list: all forty entries. Frequencies are shown snapped; see ChannelListFor.
ChannelGrid ExpansionChannelGrid(const SettingsRecord& rec, bool scrambler);

// The grid of a group's list page. Showing the expansion list snaps the stored
// frequencies to what the grid shows, as the report does; that tells the observers
// but does not count as an edit.
ChannelGrid ChannelListFor(Session& s, int group);

// The node to select for a data row (from 0), validating the pending entry first
// (NodeSelection::SelectNode); empty for a row that does not exist.
std::string ChannelGridJump(const ChannelGrid& grid, int row);

}  // namespace qm47
