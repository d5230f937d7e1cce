#include "gui/channel_list_page.h"

#include <QHeaderView>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/control_view.h"
#include "gui/page_widgets.h"

namespace qm47 {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ChannelListPage::ChannelListPage(PageContext& context, QWidget* parent)
    : Page(context, parent), grid_(new QTableWidget(this)) {
  setObjectName("picChannelList");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);

  grid_->setObjectName(Text(shown_.name));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  grid_->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move in it
  grid_->setWordWrap(false);
  grid_->setAlternatingRowColors(true);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setStretchLastSection(true);

  auto* hints = new FocusHintFilter(context.setHint, this);
  hints->Watch(*grid_, kGridHint);
  grid_->setAccessibleDescription(kGridHint);

  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Jump(row); });
  // The window keeps Return and Enter from every control; a shortcut comes first.
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* enter = new QShortcut(QKeySequence(key), grid_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, [this] { Jump(grid_->currentRow()); });
  }
}

void ChannelListPage::Fill(const PageRef& page) {
  const ChannelGrid grid = ChannelListFor(session(), page.group);
  Draw(grid);
  for (const TreeNode& node : context().tree.nodes) {
    if (node.page == page) grid_->setAccessibleName(Text(node.text));
  }
}

void ChannelListPage::Draw(const ChannelGrid& grid) {
  // Back on the same list, the row the user was on stays current.
  const int keptRow = shown_.group == grid.group ? grid_->currentRow() : 0;
  shown_ = grid;
  grid_->setUpdatesEnabled(false);
  grid_->clearContents();
  grid_->setColumnCount(kChannelGridColumns);
  grid_->setRowCount(static_cast<int>(grid.rows.size()));
  QStringList headers;
  for (const GridColumn& column : grid.columns) headers << Text(column.header);
  grid_->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < grid_->rowCount(); ++r) {
    const ChannelGridRow& row = grid.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < kChannelGridColumns; ++c) {
      auto* item = new QTableWidgetItem(Text(row.cells[static_cast<std::size_t>(c)]));
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      grid_->setItem(r, c, item);
    }
  }
  grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  FitGridColumns(*grid_, grid.columns);
  if (grid_->rowCount() > 0) grid_->setCurrentCell(std::clamp(keptRow, 0, grid_->rowCount() - 1), 0);
  grid_->setUpdatesEnabled(true);
}

void ChannelListPage::Jump(int row) {
  const std::string key = ChannelGridJump(shown_, row);
  if (!key.empty()) context().selectNode(key);
}

}  // namespace qm47
