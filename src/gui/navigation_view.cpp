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
  // Connected before any other listener, so they find the children made.
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
    MakeChildren(IndexOf(item));
    FitColumn();
  });
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
    if (item && item->isExpanded()) open.insert(item->data(0, kKeyRole).toString());
  }
  clear();
  tree_ = &tree;
  items_.assign(static_cast<std::size_t>(tree.size()), nullptr);
  MakeChildren(0);
  for (int i = 1; i <= tree.size(); ++i) {
    if (tree.at(i).parent == 0) MakeChildren(i);
  }
  // In tree order, so a parent opens (and makes its children) before they are looked at.
  for (int i = 1; i <= tree.size(); ++i) {
    QTreeWidgetItem* item = items_[static_cast<std::size_t>(i - 1)];
    if (item && open.contains(item->data(0, kKeyRole).toString())) {
      MakeChildren(i);
      item->setExpanded(true);
    }
  }
  FitColumn();
}

// Children follow their parent in tree order, and its whole subtree before any node whose
// parent comes earlier.
void NavigationView::MakeChildren(int parent) {
  if (!tree_) return;
  for (int i = parent + 1; i <= tree_->size() && tree_->at(i).parent >= parent; ++i) {
    const TreeNode& node = tree_->at(i);
    QTreeWidgetItem*& item = items_[static_cast<std::size_t>(i - 1)];
    if (node.parent != parent || item) continue;
    item = parent ? new QTreeWidgetItem(items_[static_cast<std::size_t>(parent - 1)]) : new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(node.text));
    item->setData(0, kIndexRole, i);
    item->setData(0, kKeyRole, QString::fromStdString(node.key));
    if (i < tree_->size() && tree_->at(i + 1).parent == i) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
}

void NavigationView::UpdateTexts(const NavigationTree& tree, const std::vector<int>& indexes) {
  for (const int i : indexes) {
    if (i < 1 || i > static_cast<int>(items_.size())) continue;
    // An item not made yet takes its text from the tree when it is.
    if (QTreeWidgetItem* item = items_[static_cast<std::size_t>(i - 1)]) item->setText(0, QString::fromStdString(tree.at(i).text));
  }
  if (!indexes.empty()) FitColumn();
}

void NavigationView::SelectQuietly(int index) {
  const QSignalBlocker quiet(this);
  QTreeWidgetItem* item = ItemOf(index);
  setCurrentItem(item);
  if (item) scrollToItem(item);
}

QTreeWidgetItem* NavigationView::ItemOf(int index) {
  if (index < 1 || index > static_cast<int>(items_.size())) return nullptr;
  QTreeWidgetItem*& item = items_[static_cast<std::size_t>(index - 1)];
  if (!item) {
    const int parent = tree_->at(index).parent;
    if (parent && ItemOf(parent)) MakeChildren(parent);
  }
  return item;
}

int NavigationView::IndexOf(const QTreeWidgetItem* item) { return item ? item->data(0, kIndexRole).toInt() : 0; }

}  // namespace qm47
