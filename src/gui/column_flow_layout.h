// Sections of a page side by side in as many columns as the width allows, one under the
// other when it is narrow: the pages read well in a small window and at any scale.
#pragma once

#include <QLayout>
#include <QList>
#include <vector>

namespace qm47 {

class ColumnFlowLayout final : public QLayout {
 public:
  explicit ColumnFlowLayout(QWidget* parent = nullptr);
  ~ColumnFlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;

  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Items in order, cut into `columns` runs of about equal height: the index each run starts at.
  std::vector<int> Split(int columns) const;
  int ColumnsFor(int width) const;
  int ColumnWidth() const;
  int Gap() const { return spacing() >= 0 ? spacing() : 6; }
  int Place(const QRect& rect, bool move) const;  // the height used

  QList<QLayoutItem*> items_;
};

}  // namespace qm47
