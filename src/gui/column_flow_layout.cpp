#include "gui/column_flow_layout.h"

#include <QWidget>
#include <algorithm>

namespace qm47 {

ColumnFlowLayout::ColumnFlowLayout(QWidget* parent) : QLayout(parent) {}

ColumnFlowLayout::~ColumnFlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void ColumnFlowLayout::addItem(QLayoutItem* item) { items_.append(item); }
int ColumnFlowLayout::count() const { return static_cast<int>(items_.size()); }
QLayoutItem* ColumnFlowLayout::itemAt(int index) const { return items_.value(index); }
QLayoutItem* ColumnFlowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int ColumnFlowLayout::ColumnWidth() const {
  int width = 0;
  for (const QLayoutItem* item : items_) width = std::max(width, item->sizeHint().width());
  return width;
}

int ColumnFlowLayout::ColumnsFor(int width) const {
  const int column = ColumnWidth();
  const QMargins m = contentsMargins();
  const int room = width - m.left() - m.right() + Gap();
  if (column <= 0 || items_.isEmpty()) return 1;
  return std::clamp(room / (column + Gap()), 1, static_cast<int>(items_.size()));
}

std::vector<int> ColumnFlowLayout::Split(int columns) const {
  const int n = static_cast<int>(items_.size());
  std::vector<int> sums(n + 1, 0);  // sums[i]: height of the items before i
  for (int i = 0; i < n; ++i) sums[i + 1] = sums[i] + items_[i]->sizeHint().height() + Gap();
  const auto run = [&](int from, int to) { return sums[to] - sums[from]; };
  // tallest[k][i]: the lowest tallest column items i.. can have in k columns; cut[k][i]: where the first ends.
  std::vector<std::vector<int>> tallest(columns + 1, std::vector<int>(n + 1, 0));
  std::vector<std::vector<int>> cut(tallest);
  for (int i = 0; i <= n; ++i) tallest[1][i] = run(i, n);
  for (int k = 2; k <= columns; ++k) {
    for (int i = 0; i < n; ++i) {
      tallest[k][i] = run(i, n);
      cut[k][i] = n;
      for (int j = i + 1; j < n; ++j) {
        const int h = std::max(run(i, j), tallest[k - 1][j]);
        if (h < tallest[k][i]) {
          tallest[k][i] = h;
          cut[k][i] = j;
        }
      }
    }
  }
  std::vector<int> starts{0};
  for (int k = columns, i = 0; k > 1 && cut[k][i] < n; --k) {
    i = cut[k][i];
    starts.push_back(i);
  }
  return starts;
}

int ColumnFlowLayout::Place(const QRect& rect, bool move) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  const std::vector<int> starts = Split(ColumnsFor(rect.width()));
  int tallest = 0;
  int x = area.x();
  for (std::size_t c = 0; c < starts.size(); ++c) {
    const int end = c + 1 < starts.size() ? starts[c + 1] : static_cast<int>(items_.size());
    // Columns are packed from the left, each as wide as its widest section.
    int width = 0;
    int least = 0;
    for (int i = starts[c]; i < end; ++i) {
      width = std::max(width, items_[i]->sizeHint().width());
      least = std::max(least, items_[i]->minimumSize().width());
    }
    width = std::max(least, std::min(width, area.right() + 1 - x));
    int y = area.y();
    for (int i = starts[c]; i < end; ++i) {
      const int h = items_[i]->sizeHint().height();
      if (move) items_[i]->setGeometry(QRect(x, y, width, h));
      y += h + Gap();
    }
    tallest = std::max(tallest, y - Gap() - area.y());
    x += width + Gap();
  }
  const QMargins m = contentsMargins();
  return tallest + m.top() + m.bottom();
}

int ColumnFlowLayout::heightForWidth(int width) const { return Place(QRect(0, 0, width, 0), false); }

void ColumnFlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  Place(rect, true);
}

// The height comes from heightForWidth; the least is the tallest section.
QSize ColumnFlowLayout::minimumSize() const {
  const QMargins m = contentsMargins();
  QSize least;
  for (const QLayoutItem* item : items_) least = least.expandedTo(item->minimumSize());
  return least + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize ColumnFlowLayout::sizeHint() const {
  const QMargins m = contentsMargins();
  const int width = ColumnWidth() + m.left() + m.right();
  return {width, heightForWidth(width)};
}

}  // namespace qm47
