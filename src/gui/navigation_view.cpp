#include "gui/navigation_view.h"

#include <QHeaderView>
#include <algorithm>
#include <QSet>
#include <QSignalBlocker>

namespace qm47 {

namespace {
constexpr int kIndexRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
}

NavigationView::NavigationView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("tvTreeView");
  setAccessibleName("Navigation");
  setColumnCount(1);
  setHeaderHidden(true);
  setUniformRowHeights(true);  // a thousand channel nodes scroll smoothly
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIndentation(12);  // the longest texts fit the tree's 30 % of the smallest window
  // The column is as wide as the tree, or as its widest text with a scroll bar: the
  // selection spans the row, and no text is cut.
  header()->setSectionResizeMode(QHeaderView::Interactive);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemExpanded, this, &NavigationView::FitColumn);
  connect(this, &QTreeWidget::itemCollapsed, this, &NavigationView::FitColumn);
}

void NavigationView::FitColumn() { setColumnWidth(0, std::max(viewport()->width(), sizeHintForColumn(0))); }

void NavigationView::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  FitColumn();
}

void NavigationView::Fill(const NavigationTree& tree) {
  const QSignalBlocker quiet(this);
  // Nodes that survive the rebuild stay open.
  QSet<QString> open;
  for (const QTreeWidgetItem* item : items_) {
    if (item->isExpanded()) open.insert(item->data(0, kKeyRole).toString());
  }
  clear();
  items_.clear();
  items_.reserve(static_cast<std::size_t>(tree.size()));
  for (int i = 1; i <= tree.size(); ++i) {
    const TreeNode& node = tree.at(i);
    auto* item = node.parent ? new QTreeWidgetItem(items_.at(static_cast<std::size_t>(node.parent - 1)))
                             : new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(node.text));
    item->setData(0, kIndexRole, i);
    item->setData(0, kKeyRole, QString::fromStdString(node.key));
    items_.push_back(item);
  }
  for (QTreeWidgetItem* item : items_) {
    if (open.contains(item->data(0, kKeyRole).toString())) item->setExpanded(true);
  }
  FitColumn();
}

void NavigationView::UpdateTexts(const NavigationTree& tree, const std::vector<int>& indexes) {
  for (const int i : indexes) {
    if (QTreeWidgetItem* item = ItemOf(i)) item->setText(0, QString::fromStdString(tree.at(i).text));
  }
  if (!indexes.empty()) FitColumn();
}

void NavigationView::SelectQuietly(int index) {
  const QSignalBlocker quiet(this);
  QTreeWidgetItem* item = ItemOf(index);
  setCurrentItem(item);
  if (item) scrollToItem(item);
}

QTreeWidgetItem* NavigationView::ItemOf(int index) const {
  if (index < 1 || index > static_cast<int>(items_.size())) return nullptr;
  return items_[static_cast<std::size_t>(index - 1)];
}

int NavigationView::IndexOf(const QTreeWidgetItem* item) { return item ? item->data(0, kIndexRole).toInt() : 0; }

}  // namespace qm47
