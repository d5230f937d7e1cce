// The usable group, common, DSC and ATIS pages: one kind of page each, laid out from
// the page's description and drawn from it again after every change.
#pragma once

#include <QString>

#include "editor/pages/setting_edit.h"
#include "editor/pages/settings_pages.h"
#include "gui/page.h"
#include "gui/page_widgets.h"
#include "gui/settings_form.h"

namespace qm47 {

class SettingsPage final : public Page {
 public:
  // `kind`: Usable, Common, Dsc or Atis; `objectName` and `title` name the page.
  SettingsPage(PageContext& context, PageKind kind, const QString& objectName, const QString& title,
               QWidget* parent = nullptr);

  void Fill(const PageRef& page) override;
  EntryWindowState PendingEntry() const override { return entries_.PendingEntry(); }
  void ApplyEntry(const EntryOutcome& outcome) override;

 private:
  void Build();
  void Connect();
  // Every control from the record, with the enabling rules; `load` puts the stored texts
  // into the text boxes too (an edit in one of them is drawn by its adapter).
  void Draw(bool load);
  void Apply(const SettingEdit& edit);

  PageKind kind_;
  SettingsPageState state_;
  SettingsForm form_;
  FocusHints hints_;
  PageEntries entries_;
};

}  // namespace qm47
