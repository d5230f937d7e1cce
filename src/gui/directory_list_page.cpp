#include "gui/directory_list_page.h"

#include <QHeaderView>
#include <QShortcut>
#include <QVBoxLayout>

namespace qm47 {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

DirectoryListPage::DirectoryListPage(PageContext& context, QWidget* parent)
    : Page(context, parent), grid_(new QTableWidget), hints_(context.setHint, this) {
  setObjectName("picDirectoryList");
  setAccessibleName("Directory");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);

  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(false);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row) { Jump(row); });
  // Enter never reaches the grid as a key press (the window swallows it); a shortcut does.
  for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* enter = new QShortcut(QKeySequence(key), grid_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, [this] { Jump(grid_->currentRow()); });
  }
}

void DirectoryListPage::Fill(const PageRef& page) {
  const DirectoryListState state = DirectoryListFor(session().record, page.directory);
  const bool sameDirectory = page.directory == directory_ && grid_->rowCount() == static_cast<int>(state.rows.size());
  directory_ = page.directory;

  ControlState describe;
  describe.name = state.name;
  describe.hint = state.hint;
  const int node = context().tree.IndexOf(page.directory == Directory::Individual ? "SM" : "SG");
  hints_.Describe(grid_, describe, node ? Q(context().tree.at(node).text) : QString());

  grid_->setColumnCount(static_cast<int>(state.columns.size()));
  grid_->setRowCount(static_cast<int>(state.rows.size()));
  QStringList headers;
  for (const GridColumn& column : state.columns) headers << Q(column.header);
  grid_->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < grid_->rowCount(); ++r) {
    for (int c = 0; c < grid_->columnCount(); ++c) {
      auto* cell = new QTableWidgetItem(Q(state.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
      cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      grid_->setItem(r, c, cell);
    }
  }
  FitGridColumns(*grid_, state.columns);
  if (!sameDirectory || grid_->currentRow() < 0) grid_->setCurrentCell(0, 0);
}

void DirectoryListPage::Jump(int tableRow) {
  // Grid row 0 is the heading, so entry n sits on grid row n.
  const std::string key = DirectoryRowNode(session().record, directory_, tableRow + 1);
  if (!key.empty()) context().selectNode(key);
}

}  // namespace qm47
