// MSFlexGrid1: the channel list of a plan (its enabled channels) or the expansion list;
// a double click or Enter on a row shows that channel's page.
#pragma once

#include <QTableWidget>

#include "editor/pages/channel_grid.h"
#include "gui/page.h"

namespace qm47 {

class ChannelListPage final : public Page {
 public:
  explicit ChannelListPage(PageContext& context, QWidget* parent = nullptr);

  void Fill(const PageRef& page) override;

 private:
  void Draw(const ChannelGrid& grid);
  void Jump(int row);

  QTableWidget* grid_;
  ChannelGrid shown_;
};

}  // namespace qm47
