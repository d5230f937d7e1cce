// The page of one plan or expansion channel: display, frequencies, the enable and power
// boxes with their connecting lines, duplex, scan, scrambler and name. Each click and
// keystroke goes into the record at once, through the rules of editor/channel_page.h.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "editor/pages/channel_page.h"
#include "gui/connector_line.h"
#include "gui/control_view.h"
#include "gui/entry_field.h"
#include "gui/page.h"
#include "gui/page_entries.h"

namespace qm47 {

class ChannelPage final : public Page {
 public:
  explicit ChannelPage(PageContext& context, QWidget* parent = nullptr);

  void Fill(const PageRef& page) override;
  EntryWindowState PendingEntry() const override;
  void ApplyEntry(const EntryOutcome& outcome) override;

 private:
  QWidget* BuildControls();
  // `fresh`: a new fill, so the text boxes show the record even over a pending edit.
  void Draw(const ChannelPageState& state, bool fresh);
  // `label` and `unit` (either may be null) follow the box.
  void DrawText(EntryFieldAdapter& entry, QLabel* label, QLabel* unit, const TextBoxState& state, bool fresh);
  void DrawCheck(QCheckBox& box, const CheckBoxState& state);
  void Edit(ChannelControl control, int value);

  ChannelRef channel_;
  ChannelPageState state_;
  FocusHintFilter* hints_;

  QLabel* lblCN_ = nullptr;
  std::array<EntryFieldAdapter*, 2> txtCN_{};
  QLabel* lblCRF_ = nullptr;
  EntryFieldAdapter* txtCRF_ = nullptr;
  QLabel* lblCRFUnit_ = nullptr;
  QLabel* lblCTF_ = nullptr;
  EntryFieldAdapter* txtCTF_ = nullptr;
  QLabel* lblCTFUnit_ = nullptr;
  QCheckBox* chkCEnable_ = nullptr;
  QCheckBox* chkCTXEnable_ = nullptr;
  ConnectorLine* lineToLowPower_ = nullptr;
  QCheckBox* chkCTXOnly_ = nullptr;
  ConnectorLine* lineToPowerUp_ = nullptr;
  QCheckBox* chkCTXPower_ = nullptr;
  QCheckBox* chkCDup_ = nullptr;
  QCheckBox* chkCScan_ = nullptr;
  QLabel* lblScramble_ = nullptr;
  QComboBox* cmbScramble_ = nullptr;
  QLabel* lblCTag_ = nullptr;
  EntryFieldAdapter* txtCTag_ = nullptr;
  PageEntries entries_;
};

}  // namespace qm47
