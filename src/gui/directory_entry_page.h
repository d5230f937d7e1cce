// One entry of an MMSI directory: "Add" and "Delete", its name and its MMSI.
#pragma once

#include <QCheckBox>
#include <QLabel>

#include "editor/pages/directory_pages.h"
#include "gui/page.h"
#include "gui/page_entries.h"
#include "gui/page_widgets.h"

namespace qm47 {

class DirectoryEntryPage final : public Page {
 public:
  explicit DirectoryEntryPage(PageContext& context, QWidget* parent = nullptr);

  void Fill(const PageRef& page) override;
  EntryWindowState PendingEntry() const override { return entries_.PendingEntry(); }
  void ApplyEntry(const EntryOutcome& outcome) override;

 private:
  // `load` puts the stored texts into the boxes too.
  void Draw(bool load);

  FocusHints hints_;
  QCheckBox* add_;
  QCheckBox* remove_;
  QLabel* nameLabel_;
  QLineEdit* name_;
  QLabel* mmsiLabel_;
  QLabel* groupDigit_;
  QLineEdit* mmsi_;
  EntryFieldAdapter* nameEntry_;
  EntryFieldAdapter* mmsiEntry_;
  PageEntries entries_;
  Directory directory_ = Directory::Individual;
  int number_ = 0;
};

}  // namespace qm47
