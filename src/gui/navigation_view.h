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

  // All items again from `tree`, which is kept and must outlive the view. A node's
  // children are made when it first opens (those of the top nodes at once): a start holds
  // the nodes in view, not the hundreds of channel and directory entries below them.
  void Fill(const NavigationTree& tree);
  // Only the texts of the listed nodes (of those made so far).
  void UpdateTexts(const NavigationTree& tree, const std::vector<int>& indexes);
  // Makes node `index` the current item without announcing it as the user's choice.
  void SelectQuietly(int index);

  // The item of node `index`, made with its siblings if its parent has not opened yet.
  QTreeWidgetItem* ItemOf(int index);
  // The node index of an item; 0 for none.
  static int IndexOf(const QTreeWidgetItem* item);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitColumn();
  void MakeChildren(int parent);

  const NavigationTree* tree_ = nullptr;
  std::vector<QTreeWidgetItem*> items_;  // by node index - 1; null until made
};

}  // namespace qm47
