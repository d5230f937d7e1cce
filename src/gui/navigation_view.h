// The tree widget as a mirror of the navigation tree: items in tree order, each
// carrying its node index, texts brought up to date without rebuilding.
#pragma once

#include <QTreeWidget>
#include <vector>

#include "editor/pages/tree.h"

namespace qm47 {

class NavigationView final : public QTreeWidget {
 public:
  explicit NavigationView(QWidget* parent = nullptr);

  // All items again from `tree` (parents come before their children).
  void Fill(const NavigationTree& tree);
  // Only the texts of the listed nodes.
  void UpdateTexts(const NavigationTree& tree, const std::vector<int>& indexes);
  // Makes node `index` the current item without announcing it as the user's choice.
  void SelectQuietly(int index);

  QTreeWidgetItem* ItemOf(int index) const;
  // The node index of an item; 0 for none.
  static int IndexOf(const QTreeWidgetItem* item);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitColumn();

  std::vector<QTreeWidgetItem*> items_;  // by node index - 1
};

}  // namespace qm47
