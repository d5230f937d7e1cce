// MSFlexGrid2: every entry of one MMSI directory; a double click or Enter on a row
// selects that entry's node (which checks a pending entry first) and shows its page.
#pragma once

#include <QTableWidget>

#include "editor/pages/directory_pages.h"
#include "gui/page.h"
#include "gui/page_widgets.h"

namespace qm47 {

class DirectoryListPage final : public Page {
 public:
  explicit DirectoryListPage(PageContext& context, QWidget* parent = nullptr);

  void Fill(const PageRef& page) override;

 private:
  void Jump(int tableRow);

  QTableWidget* grid_;
  FocusHints hints_;
  Directory directory_ = Directory::Individual;
};

}  // namespace qm47
