// The weather page: ten rows of caption, enable, scan and name. The focused row's enable
// box reads ">"; a row's scan and name boxes follow its enable box.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <array>
#include <vector>

#include "editor/pages/weather_page.h"
#include "gui/control_view.h"
#include "gui/entry_field.h"
#include "gui/page.h"
#include "gui/page_entries.h"

namespace qm47 {

class WeatherPage final : public Page {
 public:
  explicit WeatherPage(PageContext& context, QWidget* parent = nullptr);

  void Fill(const PageRef& page) override;
  EntryWindowState PendingEntry() const override;
  void ApplyEntry(const EntryOutcome& outcome) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Row {
    QLabel* lblWX = nullptr;
    QCheckBox* chkDEnable = nullptr;
    QCheckBox* chkDScan = nullptr;
    EntryFieldAdapter* txtDTagName = nullptr;
  };

  QWidget* BuildRows();
  // `fresh`: a new fill, so the name box shows the record even over a pending edit.
  void Draw(int row, const WeatherRowState& state, bool fresh);
  void Edit(int row, WeatherControl control, bool on);

  std::vector<Row> rows_;
  std::array<QLabel*, 3> columnCaptions_{};
  FocusHintFilter* hints_;
  PageEntries entries_;
};

}  // namespace qm47
